#include "ui/main_folder_list.h"

#include "platform/message_box.h"
#include "support/white_space.h"
#include "ui/list_order.h"

MainFolderList::MainFolderList(const std::vector<std::string>& folders)
{
    for (const std::string& folder : folders) {
        const std::string text = StripWhiteSpace(folder);
        if (!text.empty())
            lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(SortedPosition(lines_, text)), text);
    }
    Select(0);
}

void MainFolderList::Select(int row)
{
    selected_ = row >= 0 && row < static_cast<int>(lines_.size()) ? row : -1;
}

void MainFolderList::Add(const std::string& text)
{
    const std::string line = StripWhiteSpace(text);
    if (line.empty()) {
        Select(0);
        return;
    }
    const std::size_t position = SortedPosition(lines_, line);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position), line);
    selected_ = static_cast<int>(position);
}

void MainFolderList::ChangeSelected(const std::string& text)
{
    if (selected_ < 0)
        return;
    lines_.erase(lines_.begin() + selected_);
    Add(text);
}

bool MainFolderList::RemoveSelected()
{
    if (selected_ < 0)
        return false;
    const std::string question = "Soll der Eintrag '" + lines_[selected_] + "'\n\ngelöscht werden ?";
    if (AskUser("Bitte bestätigen Sie:", question, BoxStyle::YesNoCancel | BoxStyle::IconQuestion) != BoxButton::Yes)
        return false;
    lines_.erase(lines_.begin() + selected_);
    Select(0);
    return true;
}
