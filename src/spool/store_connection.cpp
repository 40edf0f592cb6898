#include "spool/store_connection.h"

#include "platform/display_fields.h"
#include "platform/keep_alive.h"

int StoreConnection::GetFile(const std::string& remoteName, const std::string& localPath)
{
    receiveThrottle_.Start(ProgressThrottle::Clock::now());
    int result = FtpClient::GetFile(remoteName, localPath);
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

int OpenStore(FtpClient& client, const StationSettings& settings)
{
    client.SetComponentFolder(settings.ProgramFolder);
    client.SetSftpMode(settings.KV_Sftp_Mode);
    client.SetTls(settings.KV_Ftp_Tls, settings.KV_Ftp_Tls_Cert);
    return client.Login(settings.KV_FTP_Store, settings.KV_FTP_Store_User, settings.KV_FTP_Store_Password, "");
}

void CloseStore(FtpClient& client)
{
    client.Logout();
}
