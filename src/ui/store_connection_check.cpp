#include "ui/store_connection_check.h"

#include "net/ftp_client.h"
#include "net/host_key_line.h"
#include "net/result_codes.h"
#include "platform/message_box.h"
#include "platform/wait_cursor.h"
#include "spool/store_connection.h"

namespace {

const char* const kFailureCaption = "Fehler bei FTP-Operation:";

// The failure of the call that gave the code, with what went wrong on a line of its own.
void ShowFailure(const std::string& error, const FtpClient& client, int code)
{
    const std::string reason = client.GetFailureReason(code);
    ShowMessageBox("Error: " + error + (reason.empty() ? "" : "\n" + reason) + "\nServer-Response: '"
                       + client.GetLastResponse() + "'",
                   kFailureCaption, BoxStyle::Error);
}

// The store settings the dialog shows, for the log-in the polling cycle makes with them.
StationSettings StoreSettings(const StoreTestValues& values, const std::string& programFolder)
{
    StationSettings settings;
    settings.ProgramFolder = programFolder;
    settings.KV_FTP_Store = values.server;
    settings.KV_FTP_Store_User = values.user;
    settings.KV_FTP_Store_Password = values.password;
    settings.KV_Sftp_Mode = values.sftp ? 1 : 0;
    settings.KV_Ftp_Tls = values.tls ? 1 : 0;
    settings.KV_Ftp_Tls_Cert = values.certificate;
    return settings;
}

// The host key paragraph of the success box; empty over FTP.
std::string HostKeyText(const StoreTestValues& values, FtpClient& client,
                        const std::function<void(const std::string&)>& log)
{
    std::string fingerprint;
    bool recorded = false;
    if (!client.SftpHostKey(fingerprint, recorded))
        return "";
    if (recorded && log)
        log(RecordedHostKeyLine(values.server, fingerprint));
    return std::string(recorded ? "\n\nDer Server war noch unbekannt. Sein Schlüssel wurde gespeichert:"
                                : "\n\nSchlüssel des Servers:")
        + "\n\n\t" + fingerprint;
}

// "Ja" to the question whether to trust a certificate that was not accepted.
bool TrustCertificate(const StoreTestValues& values, const FtpClient& client, int code)
{
    const TlsCertificate& certificate = client.RefusedCertificate();
    return ShowMessageBox("Das Zertifikat des FTP-Servers " + values.server + " wird nicht anerkannt:\n"
                              + client.GetFailureReason(code) + "\n\nAusgestellt für: " + certificate.subject
                              + "\nAusgestellt von: " + certificate.issuer + "\nGültig von: " + certificate.validFrom
                              + "\nGültig bis: " + certificate.validUntil + "\nSHA-256-Fingerabdruck:\n"
                              + certificate.fingerprint
                              + "\n\nWollen Sie diesem Zertifikat für diesen Server vertrauen?",
                          "Zertifikat des FTP-Lagers:",
                          BoxStyle::YesNo | BoxStyle::IconQuestion | BoxStyle::TaskModal)
        == BoxButton::Yes;
}

bool LogIn(const StoreTestValues& values, StationSettings settings, FtpClient& client,
           std::string* trustedCertificate)
{
    int code = OpenStore(client, settings);
    if (code == UTE_SUCCESS)
        return true;
    if (trustedCertificate && !client.RefusedCertificate().Empty()) {
        if (!TrustCertificate(values, client, code))
            return false;
        *trustedCertificate = settings.KV_Ftp_Tls_Cert = client.RefusedCertificate().fingerprint;
        if ((code = OpenStore(client, settings)) == UTE_SUCCESS)
            return true;
    }
    ShowFailure(std::string("Konnte nicht beim ") + client.ProtocolName() + "-Server " + values.server
                    + " mit Nutzer " + values.user + " anmelden!",
                client, code);
    return false;
}

bool LogInAndChangeFolder(const StoreTestValues& values, const std::string& programFolder, FtpClient& client,
                          const std::function<void(const std::string&)>& log, std::string* trustedCertificate)
{
    if (!LogIn(values, StoreSettings(values, programFolder), client, trustedCertificate))
        return false;
    client.SetPassiveMode(values.passive ? 1 : 0);
    const int code = client.ChangeDirectory(values.folder);
    const bool changed = code == UTE_SUCCESS;
    if (changed)
        ShowMessageBox("Der FTP-Server " + values.server
                           + " konnte erfolgreich angesprochen werden.\n\nEbenso konnte erfolgreich das "
                             "Hauptverzeichnis\n\n\t"
                           + values.folder + "\n\nangesprochen werden !" + HostKeyText(values, client, log),
                       "FTP-Verbindung zum FTP-Lager:", BoxStyle::IconInformation | BoxStyle::TaskModal);
    else
        ShowFailure("Konnte nicht zum Verzeichnis " + values.folder + " wechseln!", client, code);
    client.Logout();
    return changed;
}

}  // namespace

bool StoreConnectionTest(const StoreTestValues& values, const std::string& programFolder, FtpClient& client,
                         WaitCursor& waitCursor, const std::function<void(const std::string&)>& log,
                         std::string* trustedCertificate)
{
    waitCursor.Show();
    const bool reached = LogInAndChangeFolder(values, programFolder, client, log, trustedCertificate);
    waitCursor.Hide();
    return reached;
}
