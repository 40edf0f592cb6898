#include "spool/remote_store.h"

#include "net/host_key_line.h"
#include "net/result_codes.h"
#include "spool/fetch_policy.h"
#include "spool/station.h"
#include "spool/store_document_source.h"
#include "spool/store_error_report.h"
#include "spool/text_format.h"

RemoteStoreSession::RemoteStoreSession(Station& station, int ftpPort, int sftpPort, int receiveTimeoutMs,
                                       int lowSpeedMs)
    : station_(station)
{
    connection_.SetControlPort(ftpPort);
    connection_.SetSftpPort(sftpPort);
    connection_.SetTransferLimits(receiveTimeoutMs, lowSpeedMs);
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

bool RemoteStoreSession::Usable()
{
    if (!closed_ && !connection_.ConnectionLost())
        return true;
    if (closed_ || reopened_) {
        closed_ = true;
        return false;
    }
    reopened_ = true;
    station_.Log().AddLogLine(FormatText("Verbindung zum %s-Lager verloren: neue Anmeldung", IsSftp() ? "SFTP" : "FTP"));
    std::string errorText;
    if (OpenStoreOrReport(station_, *this, errorText) == UTE_SUCCESS)
        return true;
    station_.Log().AddLogLine(errorText);
    closed_ = true;
    return false;
}

int RemoteStoreSession::EnterBaseFolder(const std::string& path)
{
    if (!Usable())
        return UTE_NOCONNECTION;
    return connection_.ChangeDirectory(StorePath(home_, path));
}

bool RemoteStoreSession::FetchRemoteFolder(const std::string& label, const std::string& source,
                                           const std::string& destination)
{
    StoreDocumentSource documents(*this, connection_, station_.Settings());
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

bool RemoteStoreSession::IsSftp() const
{
    return connection_.ProtocolName() == std::string("SFTP");
}

std::unique_ptr<StoreSession> RemoteStoreAccess::CreateSession(Station& station)
{
    return std::make_unique<RemoteStoreSession>(station, ftpPort_, sftpPort_);
}
