#include "ui/store_connection_test.h"

#include "net/ftp_client.h"
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

bool LogInAndChangeFolder(const StoreTestValues& values, FtpClient& client)
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
                           + values.folder + "\n\nangesprochen werden !",
                       "FTP-Verbindung zum FTP-Lager:", BoxStyle::IconInformation | BoxStyle::TaskModal);
    else
        ShowFailure("Konnte nicht zum Verzeichnis " + values.folder + " wechseln!", client);
    client.Logout();
    return changed;
}

}  // namespace

bool StoreConnectionTest(const StoreTestValues& values, const std::string& programFolder, FtpClient& client,
                         WaitCursor& waitCursor)
{
    waitCursor.Show();
    client.SetSftpMode(values.sftp ? 1 : 0);
    client.SetComponentFolder(programFolder);
    const bool reached = LogInAndChangeFolder(values, client);
    waitCursor.Hide();
    return reached;
}
