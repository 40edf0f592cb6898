#include "net/ping_server.h"

#include "net/result_codes.h"
#include "net/service_request.h"
#include "net/service_text.h"

int PingServer(const std::string& server, const std::string& portText, const std::string& folder,
               std::string* answer, std::string* error)
{
    ServiceRequest request(server, portText);
    std::unique_ptr<ServiceReply> reply = request.Fetch(folder + "/kv_ping.php", "");
    if (!reply) {
        if (error)
            *error = std::string("Fehler '") + ResultCodeName(request.GetResult())
                + "'\nbeim Versuch den Web-Server " + server + " zu kontaktieren!\n" + request.GetFailureReason();
        return request.GetResult();
    }
    if (answer) {
        answer->clear();
        for (const std::string& line : *reply)
            *answer += ServiceTextToUtf8(line);
    }
    return UTE_SUCCESS;
}
