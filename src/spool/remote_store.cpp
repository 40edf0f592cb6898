#include "spool/remote_store.h"

#include "net/result_codes.h"
#include "spool/remote_folder_fetch.h"
#include "spool/station.h"

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
    }
    return code;
}

int RemoteStoreSession::EnterBaseFolder(const std::string& path)
{
    return connection_.ChangeDirectory(path);
}

bool RemoteStoreSession::FetchRemoteFolder(const std::string& label, const std::string& source,
                                           const std::string& destination)
{
    return ::FetchRemoteFolder(station_, *this, connection_, label, source, destination);
}

void RemoteStoreSession::Close()
{
    CloseStore(connection_);
}

std::string RemoteStoreSession::LastResponse()
{
    return connection_.GetLastResponse();
}

bool RemoteStoreSession::IsSftp() const
{
    return connection_.GetSftpMode() != 0;
}

std::unique_ptr<StoreSession> RemoteStoreAccess::CreateSession(Station& station)
{
    return std::make_unique<RemoteStoreSession>(station, ftpPort_, sftpPort_);
}
