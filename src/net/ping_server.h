// The connection test of the service's web server: fetches the ping script.
#pragma once

#include <string>

// The result code of the request. On success *answer holds the reply's lines joined
// without separators; on failure *error holds the text that tells the user, and below it
// what went wrong.
int PingServer(const std::string& server, const std::string& portText, const std::string& folder,
               std::string* answer, std::string* error);
