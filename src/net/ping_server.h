// The connection test of the service's web server: fetches the ping script and tells the
// user in a message box whether the server answered, and what.
#pragma once

#include <string>

// The result code of the request.
int PingServer(const std::string& server, const std::string& portText, const std::string& folder);
