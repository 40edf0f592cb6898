// What a store's answer to one command means for the documents of a fetch. Each protocol
// maps its own answers to these in one table (ftp_reply_table.h, sftp_answer_table.h).
#pragma once

enum class StoreOutcome {
    Done,     // the command did its work
    Goes,     // the command goes on: a reply after which the client sends or reads more
    Refused,  // a definite refusal: the store changed nothing, the connection stays in step
    Unknown,  // no answer, a cut or out-of-step one, a lost connection: what the store did is
              // unclear, the connection is given up, and the next listing decides
};
