// The FTP client's three commands of explicit TLS, sent on a new control connection
// before anything of the log-in: no user name, password or file name crosses the
// connection in clear, and a server that will not secure it is left at once.
#include "net/ftp_client.h"

#include "net/result_codes.h"

int FtpClient::StartTls(const std::string& host)
{
    if (!tls_.Required())
        return UTE_SUCCESS;
    SendCommand("AUTH TLS");
    int code = ReadReply();
    if (code == 0)
        return UTE_NO_RESPONSE;
    if (code != 234) {
        LoseStep();
        return tls_.Refuse(TlsRefusal::NoTls);
    }
    int result = tls_.SecureControl(*this, host);
    if (result != UTE_SUCCESS) {
        LoseStep();
        return result;
    }
    for (const char* command : {"PBSZ 0", "PROT P"}) {
        SendCommand(command);
        code = ReadReply();
        if (code == 0)
            return UTE_NO_RESPONSE;
        if (code < 200 || code > 299) {
            LoseStep();
            return tls_.Refuse(TlsRefusal::ProtectionRefused);
        }
    }
    tls_.ProtectData();
    return UTE_SUCCESS;
}
