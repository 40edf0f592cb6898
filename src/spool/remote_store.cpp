#include "spool/remote_store.h"

#include "net/host_key_line.h"
#include "net/result_codes.h"
#include "spool/fetch_policy.h"
#include "spool/station.h"
#include "spool/store_document_source.h"

RemoteStoreSession::RemoteStoreSession(Station& station, int ftpPort, int sftpPort) : station_(station)
{
    connection_.SetControlPort(ftpPort);
    connection_.SetSftpPort(sftpPort);
}

int RemoteStoreSession::Open()
{
    int code = OpenStore(connection_, station_.Settings());
    if (code == UTE_SUCCESS) {
        connection_.SetPassiveMode(station_.Settings().KV_Ftp_Passive);
        connection_.SetOwner(&station_.Seams().display);
        std::string fingerprint;
        bool recorded = false;
        if (connection_.SftpHostKey(fingerprint, recorded) && recorded)
            station_.Log().AddLogLine(RecordedHostKeyLine(station_.Settings().KV_FTP_Store, fingerprint));
        // A relative store folder lies below the folder the store put the user in.
        if (!station_.Settings().KV_FTP_Store_Dir.starts_with("/"))
            code = connection_.GetCurrentDirectory(home_);
    }
    return code;
}

int RemoteStoreSession::EnterBaseFolder(const std::string& path)
{
    return connection_.ChangeDirectory(StorePath(home_, path));
}

bool RemoteStoreSession::FetchRemoteFolder(const std::string& label, const std::string& source,
                                           const std::string& destination)
{
    StoreDocumentSource documents(*this, connection_, station_.Settings(), home_);
    return FetchFromSource(station_, documents, label, source, destination);
}

void RemoteStoreSession::Close()
{
    CloseStore(connection_);
}

std::string RemoteStoreSession::LastResponse()
{
    return connection_.GetLastResponse();
}

std::string RemoteStoreSession::FailureReason()
{
    return connection_.GetFailureReason();
}

bool RemoteStoreSession::IsSftp() const
{
    return connection_.GetSftpMode() != 0;
}

std::unique_ptr<StoreSession> RemoteStoreAccess::CreateSession(Station& station)
{
    return std::make_unique<RemoteStoreSession>(station, ftpPort_, sftpPort_);
}
