#include "ui/institution_selection.h"

#include "platform/message_box.h"
#include "platform/wait_cursor.h"

namespace {

// The web server's own message when it sent one; otherwise the user may type the data,
// and is told what went wrong.
void TellListFailed(const std::string& serverMessage, const std::string& failure)
{
    if (!serverMessage.empty())
        ShowMessageBox(serverMessage, "KORVID-Fehler, Meldung vom Korvid-Web-Server:", BoxStyle::Error);
    else
        ShowMessageBox("kein Zugriff auf Korvid-Server möglich!\n\nBitte geben Sie die Daten von Hand ein\n"
                       "oder versuchen Sie es später noch einmal!"
                           + (failure.empty() ? "" : "\n\n" + failure),
                       "KORVID-Fehler", BoxStyle::Error);
}

}  // namespace

void InstitutionSelection::Request(const ServiceAddress& address, WaitCursor& waitCursor)
{
    waitCursor.Show();
    std::string serverMessage;
    choices_ = RequestInstitutionList(address.server, address.port, address.folder, shown_.name, &serverMessage);
    if (!choices_.received)
        TellListFailed(serverMessage, choices_.failure);
    waitCursor.Hide();
}

std::vector<std::string> InstitutionSelection::Names() const
{
    std::vector<std::string> names;
    for (const Institution& institution : choices_.entries)
        names.push_back(institution.name);
    return names;
}

void InstitutionSelection::Confirm(int index)
{
    if (index < 0 || index >= static_cast<int>(choices_.entries.size()))
        return;
    const Institution& chosen = choices_.entries[index];
    shown_ = {chosen.id, chosen.name, chosen.abbreviation};
}
