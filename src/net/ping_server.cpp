#include "net/ping_server.h"

#include "net/result_codes.h"
#include "net/service_request.h"
#include "net/service_text.h"
#include "platform/message_box.h"

namespace {

const char* const kCaption = "Test des Korvid-Servers (HTTP)";

}  // namespace

int PingServer(const std::string& server, const std::string& portText, const std::string& folder)
{
    ServiceRequest request(server, portText);
    std::unique_ptr<ServiceReply> reply = request.Fetch(folder + "/kv_ping.php", "");
    if (!reply) {
        ShowMessageBox(std::string("Fehler '") + ResultCodeName(request.GetResult())
                           + "'\nbeim Versuch den Web-Server " + server + " zu kontaktieren!",
                       kCaption, BoxStyle::Error);
        return request.GetResult();
    }
    std::string text;
    for (const std::string& line : *reply)
        text += ServiceTextToUtf8(line);
    ShowMessageBox("Der Web-Server " + server + " wurde erfolgreich angesprochen!\n\n\n" + text, kCaption,
                   BoxStyle::IconInformation | BoxStyle::TaskModal);
    return UTE_SUCCESS;
}
