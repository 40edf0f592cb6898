#include "net/ftp_reply_table.h"

namespace {

constexpr StoreOutcome D = StoreOutcome::Done;
constexpr StoreOutcome G = StoreOutcome::Goes;
constexpr StoreOutcome R = StoreOutcome::Refused;
constexpr StoreOutcome U = StoreOutcome::Unknown;

// Rows in the order of FtpCommand, columns in the order of ReplyClass.
constexpr StoreOutcome kOutcomes[][6] = {
    //            1xx 2xx 3xx 4xx 5xx none
    /* log-in  */ {U, D, G, R, R, U},
    /* CWD     */ {U, D, U, R, R, U},
    /* TYPE    */ {U, D, U, R, R, U},
    /* LIST    */ {G, D, U, R, R, U},
    /* PASV    */ {U, D, U, R, R, U},
    /* PORT    */ {U, D, U, R, R, U},
    /* RETR    */ {G, D, U, R, R, U},
    /* SIZE    */ {U, D, U, R, R, U},
    /* DELE    */ {U, D, U, R, R, U},
    /* QUIT    */ {D, D, D, D, D, D},
    /* other   */ {U, D, U, R, R, U},
};

}  // namespace

ReplyClass ClassOfReply(int code)
{
    if (code < 100 || code > 599)
        return ReplyClass::None;
    return static_cast<ReplyClass>(code / 100 - 1);
}

StoreOutcome FtpReplyOutcome(FtpCommand command, ReplyClass reply)
{
    return kOutcomes[static_cast<int>(command)][static_cast<int>(reply)];
}
