// The connection of one fetch stage to the store: an FTP client (routed to the SFTP
// component in SFTP mode) whose downloads move the main window's file progress bar.
#pragma once

#include "config/station_settings.h"
#include "net/ftp_client.h"
#include "spool/progress_throttle.h"

class DisplayFields;

class StoreConnection : public FtpClient {
public:
    // The window's fields that show the progress; none until the first transfer.
    void SetOwner(DisplayFields* owner) { owner_ = owner; }
    void SetReceiveProgress(bool on) { receiveProgress_ = on; }
    void SetSendProgress(bool on) { sendProgress_ = on; }

    // A download shows its last position when it ends, whatever the throttle let through.
    int GetToSource(TransferSource& source, const std::string& remoteName) override;
    // Show the bytes so far in "Datei-Status:" while the flag is set; always go on.
    int OnReceiveProgress(long bytesSoFar) override;
    int OnSendProgress(long bytesSoFar) override;
    bool IsAborted() override { return false; }

private:
    DisplayFields* owner_ = nullptr;
    bool receiveProgress_ = false;
    bool sendProgress_ = false;
    ProgressThrottle receiveThrottle_;
};

// Sets the component folder (the program folder), the SFTP flag and the TLS of an FTP
// store, then logs in with the store settings and an empty account. UTE_SUCCESS means
// logged in.
int OpenStore(StoreConnection& connection, const StationSettings& settings);
// Logs out; the result does not matter.
void CloseStore(StoreConnection& connection);
