// The main folder list of the Tessaline mode as its dialog edits it: folder texts kept
// in order without regard to case, one line selected.
#pragma once

#include <string>
#include <vector>

class MainFolderList {
public:
    // Blank texts are left out; the first line is selected.
    explicit MainFolderList(const std::vector<std::string>& folders);

    // In the order shown.
    const std::vector<std::string>& Lines() const { return lines_; }
    // -1 when no line is selected.
    int Selected() const { return selected_; }
    void Select(int row);

    // A text with something else than white space goes to its place, stripped, and is
    // selected; otherwise the first line is selected.
    void Add(const std::string& text);
    // The selected line goes; a text as in Add takes its place. Nothing happens when no
    // line is selected.
    void ChangeSelected(const std::string& text);
    // Asks the user; on Yes the selected line goes and the first line is selected.
    bool RemoveSelected();

private:
    std::vector<std::string> lines_;
    int selected_ = -1;
};
