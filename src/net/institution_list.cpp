#include "net/institution_list.h"

#include "net/service_request.h"
#include "net/service_text.h"

#include <algorithm>

InstitutionChoices RequestInstitutionList(const std::string& server, const std::string& portText,
                                          const std::string& folder, const std::string& currentName,
                                          std::string* serverMessage)
{
    InstitutionChoices choices;
    ServiceRequest request(server, portText);
    std::unique_ptr<ServiceReply> reply = request.Query(folder + "/kv_inst_list.php", "SQL=INST_LIST");
    if (!reply) {
        if (serverMessage)
            *serverMessage = request.GetMessage();
        choices.failure = request.GetFailureReason();
        return choices;
    }

    choices.received = true;
    // The status line and the line after it carry no institution; nor does an empty line.
    for (size_t i = 2; i < reply->size(); ++i) {
        const std::string& row = (*reply)[i];
        if (!row.empty())
            choices.entries.push_back({ServiceRequest::GetField(row, 1), ServiceRequest::GetField(row, 2),
                                       ServiceRequest::GetField(row, 3)});
    }
    ServiceRequest::FreeReply(reply);

    std::stable_sort(choices.entries.begin(), choices.entries.end(),
                     [](const Institution& a, const Institution& b) { return FoldCase(a.name) < FoldCase(b.name); });
    if (currentName.empty()) {
        choices.selected = choices.entries.empty() ? -1 : 0;
    } else {
        const std::string wanted = FoldCase(currentName);
        for (size_t i = 0; i < choices.entries.size(); ++i) {
            if (FoldCase(choices.entries[i].name).compare(0, wanted.size(), wanted) == 0) {
                choices.selected = static_cast<int>(i);
                break;
            }
        }
    }
    return choices;
}
