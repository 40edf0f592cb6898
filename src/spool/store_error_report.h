// How a failure on the store is reported: in a box, unless OnErrorLogOnly = 1, and in
// the error text that the failing routine logs when it ends.
#pragma once

#include "config/station_settings.h"

#include <string>

class Station;
class StoreSession;

// Builds "<text>\n\nServer-Response: err-code: <code>, '<last response>'" and stores it
// in errorText (replacing what was there). Unless OnErrorLogOnly = 1 it is shown, the
// first time in the session that a failure of its kind (the text's format) is reported.
void ReportStoreError(const StationSettings& settings, StoreSession& session, const std::string& kind,
                      const std::string& text, int code, std::string& errorText);
// Opens the session; a failed log-in is reported, with ticks held back while its box is
// open. The result code of the log-in.
int OpenStoreOrReport(Station& station, StoreSession& session, std::string& errorText);
