// The FTP store's replies, command by command: every reply class of every command of a
// fetch mapped to its outcome. No reply may cost a document: a reply that leaves unclear
// what the store did is Unknown, and the client then gives up the connection.
#pragma once

#include "net/store_outcome.h"

enum class FtpCommand {
    LogIn,    // USER, PASS, ACCT
    Cwd,
    Type,
    List,
    Passive,  // PASV, EPSV
    Port,     // PORT, EPRT
    Retr,
    Size,     // 213 carries the size; another completion reply carries none
    Dele,
    Quit,     // no reply is read: the documents are decided before it
    Other,    // a command outside the fetch with one final reply (PWD, MKD, NOOP, ...)
};

enum class ReplyClass {
    Preliminary,   // 1xx
    Completion,    // 2xx
    Intermediate,  // 3xx
    Transient,     // 4xx
    Permanent,     // 5xx
    None,          // no reply, a reply cut short, the connection closed, or no reply code
};

// The class of a reply code; 0 (no whole reply) and codes outside 100-599 are None.
ReplyClass ClassOfReply(int code);
StoreOutcome FtpReplyOutcome(FtpCommand command, ReplyClass reply);
inline StoreOutcome FtpReplyOutcome(FtpCommand command, int code)
{
    return FtpReplyOutcome(command, ClassOfReply(code));
}
