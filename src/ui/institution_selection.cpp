#include "ui/institution_selection.h"

#include "platform/wait_cursor.h"

void InstitutionSelection::Request(const ServiceAddress& address, WaitCursor& waitCursor)
{
    waitCursor.Show();
    choices_ = RequestInstitutionList(address.server, address.port, address.folder, shown_.name);
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
