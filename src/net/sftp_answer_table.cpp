#include "net/sftp_answer_table.h"

namespace {

constexpr StoreOutcome D = StoreOutcome::Done;
constexpr StoreOutcome R = StoreOutcome::Refused;
constexpr StoreOutcome U = StoreOutcome::Unknown;

// Rows in the order of SftpCall, columns in the order of SftpAnswer.
constexpr StoreOutcome kOutcomes[][3] = {
    //                done failed lost
    /* connect     */ {D, R, R},
    /* chdir       */ {D, R, U},
    /* ls          */ {D, R, U},
    /* get         */ {D, R, U},
    /* size        */ {D, R, U},
    /* delete      */ {D, R, U},
    /* disconnect  */ {D, D, D},
    /* other       */ {D, R, U},
};

}  // namespace

StoreOutcome SftpAnswerOutcome(SftpCall call, SftpAnswer answer)
{
    return kOutcomes[static_cast<int>(call)][static_cast<int>(answer)];
}
