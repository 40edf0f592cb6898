#include "ui/spool_folder_list.h"

#include "platform/message_box.h"
#include "support/text_columns.h"
#include "support/white_space.h"
#include "ui/list_order.h"

#include <algorithm>

namespace {

constexpr std::size_t kFolderColumn = 25;

std::string PortPart(const SpoolFolderEntry& entry)
{
    return entry.PrinterPort.empty() ? "" : " (" + entry.PrinterPort + ")";
}

}  // namespace

std::vector<SpoolFolderEntry> DefaultSpoolFolders()
{
    return {{"Auslieferungen", "DELV", "", "", ""}, {"Deckblätter", "FRONTSH", "", "", ""}};
}

std::string SpoolFolderListLine(const SpoolFolderEntry& entry)
{
    std::string line = PaddedToWidth(entry.Folder, kFolderColumn) + entry.Description;
    if (!entry.PrinterName.empty())
        line += "[" + entry.PrinterName + PortPart(entry) + "]";
    return line;
}

std::string SpoolFolderPrinterText(const SpoolFolderEntry& entry)
{
    return entry.PrinterName + PortPart(entry);
}

SpoolFolderEntry StrippedEntry(const SpoolFolderEntry& entry)
{
    return {StripWhiteSpace(entry.Description), StripWhiteSpace(entry.Folder), StripWhiteSpace(entry.PrinterName),
            StripWhiteSpace(entry.PrinterDriver), StripWhiteSpace(entry.PrinterPort)};
}

SpoolFolderEntry WithTypedPrinter(SpoolFolderEntry entry, const std::string& text)
{
    const std::string port = PortPart(entry);
    entry.PrinterName = !port.empty() && text.ends_with(port) ? text.substr(0, text.size() - port.size()) : text;
    return entry;
}

std::string DuplicateFolderHint(const SpoolFolderEntry& entry, const std::vector<std::string>& taken)
{
    const std::string folder = StripWhiteSpace(entry.Folder);
    if (std::find(taken.begin(), taken.end(), folder) == taken.end())
        return "";
    return "Das Verzeichnis '" + folder + "' steht bereits in der Liste der Spool-Verzeichnisse.\n\n"
           "Bitte geben Sie einen anderen Verzeichnisnamen ein.";
}

SpoolFolderList::SpoolFolderList(const std::vector<SpoolFolderEntry>& stored)
{
    // An entry without a folder would end the list when the settings are next loaded.
    for (const SpoolFolderEntry& entry : stored)
        if (!StripWhiteSpace(entry.Folder).empty())
            starting_.push_back(StrippedEntry(entry));
    if (starting_.empty())
        starting_ = DefaultSpoolFolders();
    Restore();
}

std::vector<std::string> SpoolFolderList::Lines() const
{
    std::vector<std::string> lines;
    for (const SpoolFolderEntry& entry : entries_)
        lines.push_back(SpoolFolderListLine(entry));
    return lines;
}

void SpoolFolderList::Select(int row)
{
    selected_ = row >= 0 && row < static_cast<int>(entries_.size()) ? row : -1;
}

std::vector<std::string> SpoolFolderList::FoldersBesides(int row) const
{
    std::vector<std::string> folders;
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i)
        if (i != row)
            folders.push_back(entries_[i].Folder);
    return folders;
}

int SpoolFolderList::Insert(const SpoolFolderEntry& entry)
{
    const std::size_t position = SortedPosition(Lines(), SpoolFolderListLine(entry));
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(position), entry);
    return static_cast<int>(position);
}

bool SpoolFolderList::Add(const SpoolFolderEntry& entry)
{
    const SpoolFolderEntry stripped = StrippedEntry(entry);
    if (stripped.Folder.empty() || !DuplicateFolderHint(stripped, FoldersBesides(-1)).empty())
        return false;
    selected_ = Insert(stripped);
    return true;
}

bool SpoolFolderList::ChangeSelected(const SpoolFolderEntry& entry)
{
    const SpoolFolderEntry stripped = StrippedEntry(entry);
    if (selected_ < 0 || stripped.Folder.empty() || !DuplicateFolderHint(stripped, FoldersBesides(selected_)).empty())
        return false;
    const int row = selected_;
    entries_.erase(entries_.begin() + row);
    Insert(stripped);
    selected_ = row;
    return true;
}

bool SpoolFolderList::RemoveSelected()
{
    if (selected_ < 0)
        return false;
    const std::string question =
        "Soll der Eintrag für das Verzeichnis\n\n'" + entries_[selected_].Folder + "'\n\ngelöscht werden ?";
    if (AskUser("Bitte bestätigen Sie:", question, BoxStyle::YesNoCancel | BoxStyle::IconQuestion) != BoxButton::Yes)
        return false;
    entries_.erase(entries_.begin() + selected_);
    Select(0);
    return true;
}

void SpoolFolderList::Restore()
{
    entries_.clear();
    selected_ = -1;
    // Each entry is selected as it is added: the last one of the starting list ends up so.
    for (const SpoolFolderEntry& entry : starting_)
        selected_ = Insert(entry);
}
