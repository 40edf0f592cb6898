// The base settings dialog's test of the store: log in with the values the dialog shows,
// change into the store's main folder and tell the user how it went.
#pragma once

#include <functional>
#include <string>

class FtpClient;
class WaitCursor;

struct StoreTestValues {
    std::string server;
    std::string user;
    std::string password;
    std::string folder;
    bool passive = false;
    bool sftp = false;
    bool tls = false;
    std::string certificate{};  // the fingerprint of a trusted certificate
};

// The client is fresh; programFolder holds the SFTP component. Every outcome is told in
// a box; over SFTP the success box shows the server's host key fingerprint, and a key
// recorded as new goes to the log as well. Over TLS, with trustedCertificate given, a
// certificate that is not accepted is shown with the question whether to trust it; "Ja"
// puts its fingerprint there and the test goes on with it, "Nein" ends the test. True
// when the log-in and the change of folder succeeded.
bool StoreConnectionTest(const StoreTestValues& values, const std::string& programFolder, FtpClient& client,
                         WaitCursor& waitCursor, const std::function<void(const std::string&)>& log = {},
                         std::string* trustedCertificate = nullptr);
