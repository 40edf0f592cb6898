#include "ui/server_connection_check.h"

#include "net/ping_server.h"
#include "net/result_codes.h"
#include "platform/message_box.h"
#include "platform/wait_cursor.h"

bool ServerConnectionTest(const std::string& server, const std::string& portText, const std::string& folder,
                          WaitCursor& waitCursor)
{
    const char* const caption = "Test des Korvid-Servers (HTTP)";
    waitCursor.Show();
    std::string answer;
    std::string error;
    const bool answered = PingServer(server, portText, folder, &answer, &error) == UTE_SUCCESS;
    if (answered)
        ShowMessageBox("Der Web-Server " + server + " wurde erfolgreich angesprochen!\n\n\n" + answer, caption,
                       BoxStyle::IconInformation | BoxStyle::TaskModal);
    else
        ShowMessageBox(error, caption, BoxStyle::Error);
    waitCursor.Hide();
    return answered;
}
