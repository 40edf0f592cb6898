#include "ui/server_connection_check.h"

#include "net/ping_server.h"
#include "net/result_codes.h"
#include "platform/wait_cursor.h"

bool ServerConnectionTest(const std::string& server, const std::string& portText, const std::string& folder,
                          WaitCursor& waitCursor)
{
    waitCursor.Show();
    const bool answered = PingServer(server, portText, folder) == UTE_SUCCESS;
    waitCursor.Hide();
    return answered;
}
