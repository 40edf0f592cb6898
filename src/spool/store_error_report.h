// How a failure on the store is reported: in a box, unless OnErrorLogOnly = 1, and in
// the error text that the failing routine logs when it ends.
#pragma once

#include "config/station_settings.h"

#include <string>

class StoreSession;

// Builds "<text>\n\nServer-Response: err-code: <code>, '<last response>'", stores it
// in errorText (replacing what was there) and shows it unless OnErrorLogOnly = 1.
void ReportStoreError(const StationSettings& settings, StoreSession& session, const std::string& text,
                      int code, std::string& errorText);
