#include "ui/store_connection_check.h"

#include "net/ftp_client.h"
#include "net/host_key_line.h"
#include "net/result_codes.h"
#include "platform/message_box.h"
#include "platform/wait_cursor.h"

namespace {

const char* const kFailureCaption = "Fehler bei FTP-Operation:";

void ShowFailure(const std::string& error, const FtpClient& client)
{
    ShowMessageBox("Error: " + error + "\nServer-Response: '" + client.GetLastResponse() + "'", kFailureCaption,
                   BoxStyle::Error);
}

// The host key paragraph of the success box; empty over FTP.
std::string HostKeyText(const StoreTestValues& values, FtpClient& client,
                        const std::function<void(const std::string&)>& log)
{
    std::string fingerprint;
    bool recorded = false;
    if (!values.sftp || !client.SftpHostKey(fingerprint, recorded))
        return "";
    if (recorded && log)
        log(RecordedHostKeyLine(values.server, fingerprint));
    return std::string(recorded ? "\n\nDer Server war noch unbekannt. Sein Schlüssel wurde gespeichert:"
                                : "\n\nSchlüssel des Servers:")
        + "\n\n\t" + fingerprint;
}

bool LogInAndChangeFolder(const StoreTestValues& values, FtpClient& client,
                          const std::function<void(const std::string&)>& log)
{
    if (client.Login(values.server, values.user, values.password, "") != UTE_SUCCESS) {
        ShowFailure(std::string("Konnte nicht beim ") + (values.sftp ? "SFTP" : "FTP") + "-Server " + values.server
                        + " mit Nutzer " + values.user + " anmelden!",
                    client);
        return false;
    }
    client.SetPassiveMode(values.passive ? 1 : 0);
    const bool changed = client.ChangeDirectory(values.folder) == UTE_SUCCESS;
    if (changed)
        ShowMessageBox("Der FTP-Server " + values.server
                           + " konnte erfolgreich angesprochen werden.\n\nEbenso konnte erfolgreich das "
                             "Hauptverzeichnis\n\n\t"
                           + values.folder + "\n\nangesprochen werden !" + HostKeyText(values, client, log),
                       "FTP-Verbindung zum FTP-Lager:", BoxStyle::IconInformation | BoxStyle::TaskModal);
    else
        ShowFailure("Konnte nicht zum Verzeichnis " + values.folder + " wechseln!", client);
    client.Logout();
    return changed;
}

}  // namespace

bool StoreConnectionTest(const StoreTestValues& values, const std::string& programFolder, FtpClient& client,
                         WaitCursor& waitCursor, const std::function<void(const std::string&)>& log)
{
    waitCursor.Show();
    client.SetSftpMode(values.sftp ? 1 : 0);
    client.SetComponentFolder(programFolder);
    const bool reached = LogInAndChangeFolder(values, client, log);
    waitCursor.Hide();
    return reached;
}
