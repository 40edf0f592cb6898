// The station's way to the remote store until the FTP and SFTP store access is built
// in: every login fails, so a station outside the local mode reports at each tick
// that it could not log in and prints nothing. The local mode never asks for it.
#pragma once

#include "spool/store_access.h"

// The reply shown with the failed login.
extern const char* const kStoreNotAvailableText;

class StoreNotAvailable : public StoreAccess {
public:
    std::unique_ptr<StoreSession> CreateSession(Station& station) override;
};
