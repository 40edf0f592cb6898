// The SFTP component's answers, call by call, mapped to their outcomes. The component
// answers only done or failed; after a failure the client asks once more to tell a
// refusal (the session is up, and for a deletion the file is still there) from a lost
// session.
#pragma once

#include "net/store_outcome.h"

enum class SftpCall {
    Connect,
    ChangeDirectory,
    List,
    Get,
    Size,
    Delete,
    Disconnect,
    Other,  // a call outside the fetch: put, rename, mkdir, rmdir, pwd
};

enum class SftpAnswer {
    Done,
    Failed,  // failed, the session up (a deletion: the file still there)
    Lost,    // failed, and the session is gone or the file's state untold
};

StoreOutcome SftpAnswerOutcome(SftpCall call, SftpAnswer answer);
