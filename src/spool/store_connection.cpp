#include "spool/store_connection.h"

#include "platform/display_fields.h"
#include "platform/keep_alive.h"

int StoreConnection::GetToSource(TransferSource& source, const std::string& remoteName)
{
    receiveThrottle_.Start(ProgressThrottle::Clock::now());
    int result = FtpClient::GetToSource(source, remoteName);
    if (owner_ && receiveProgress_ && receiveThrottle_.Behind())
        owner_->SetFileProgressPosition(receiveThrottle_.Latest());
    return result;
}

int StoreConnection::OnReceiveProgress(long bytesSoFar)
{
    KeepDesktopAlive();
    if (owner_ && receiveProgress_ && receiveThrottle_.Due(bytesSoFar, ProgressThrottle::Clock::now()))
        owner_->SetFileProgressPosition(bytesSoFar);
    return 1;
}

int StoreConnection::OnSendProgress(long bytesSoFar)
{
    if (owner_ && sendProgress_)
        owner_->SetFileProgressPosition(bytesSoFar);
    return 1;
}

int OpenStore(StoreConnection& connection, const StationSettings& settings)
{
    connection.SetComponentFolder(settings.ProgramFolder);
    connection.SetSftpMode(settings.KV_Sftp_Mode);
    connection.SetTls(settings.KV_Ftp_Tls, settings.KV_Ftp_Tls_Cert);
    return connection.Login(settings.KV_FTP_Store, settings.KV_FTP_Store_User, settings.KV_FTP_Store_Password, "");
}

void CloseStore(StoreConnection& connection)
{
    connection.Logout();
}
