// Why a call of the network clients failed, told to the user as one German line below
// the message that says what failed. The clients know more than their result codes:
// the socket client why its connect failed, the FTP protocol why TLS was refused, the
// SFTP binding what the component's English text means; each turns that into a failure
// of this table, which holds the words. Only the reasons TLS refused a server keep their
// own lines, beside the certificate they judge (tls_context.cpp).
#pragma once

#include <string>

enum class Failure {
    None,
    Refused,           // nothing takes connections on the server's port
    Unreachable,       // no way through the network to the server
    UnknownHost,       // the server's name gives no address
    NoAnswer,          // nothing came within the time-out
    Stalled,           // a transfer stopped moving
    ServiceRefused,    // the server turned the connection away before the log-in
    NoSftp,            // the server has no SFTP service
    LogInRefused,      // user or password not taken
    TlsFailed,
    HostKeyChanged,    // the SFTP server shows another key than the one recorded for it
    HostKeyUnchecked,  // the SFTP server's key could not be checked or recorded
    ConnectionLost,
    DataConnection,    // the FTP data connection could not be made
    CommandRefused,
    NotFound,
    AccessDenied,
    LocalFile,         // the file on this machine could not be written or read
    LocalNetwork,      // this machine could not open a socket
    Component,         // the SFTP component is missing or incomplete
    BadAddress,
    Aborted,
    Other,
};

// The line; seconds names the time-out that ran out, where one is known (above 0).
std::string FailureLine(Failure failure, int seconds = 0);
// What a result code of the clients stands for where the code alone tells it; the
// failures of a connect (refused, unreachable, unknown host) need the client's facts.
Failure FailureOfCode(int code);
