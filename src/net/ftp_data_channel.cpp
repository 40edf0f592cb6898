#include "net/ftp_data_channel.h"

#include "net/ftp_client.h"
#include "net/result_codes.h"
#include "net/tls_context.h"

int FtpDataChannel::OnReceiveProgress(long bytesSoFar)
{
    return owner_.OnReceiveProgress(bytesSoFar);
}

int FtpDataChannel::OnSendProgress(long bytesSoFar)
{
    return owner_.OnSendProgress(bytesSoFar);
}

bool FtpDataChannel::IsAborted()
{
    return owner_.IsAborted();
}

int FtpDataChannel::OnConnected(SocketHandle socket, const std::string& hostText)
{
    if (!expectedPeer_.empty() && hostText != expectedPeer_)
        return UTE_SVR_DATA_CONNECT_FAILED;
    return tls_.SecureData(*this, socket);
}
