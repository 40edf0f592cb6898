// The base settings dialog's test of the service's web server: the ping request with
// the values the dialog shows, its outcome told in a box.
#pragma once

#include <string>

class WaitCursor;

// True when the server answered.
bool ServerConnectionTest(const std::string& server, const std::string& portText, const std::string& folder,
                          WaitCursor& waitCursor);
