// The desktop's folder browser and file dialogs as the settings dialogs use them. They
// are Qt's own dialogs, the same on every desktop.
#pragma once

#include <optional>
#include <string>

class QWidget;

// Folders of the file system only; starts in the given folder when it exists. None
// when cancelled.
std::optional<std::string> BrowseForFolder(QWidget* parent, const std::string& title, const std::string& start);

// The save-as dialog of the log file: opens in the folder of the given file name and
// proposes its name; asks before an existing file is chosen; ".log" is appended to a
// name without an extension. None when cancelled.
std::optional<std::string> ChooseLogFile(QWidget* parent, const std::string& current);

// The file-open dialog of a program file: the filters of the "^"-separated filter text,
// the remembered one offered first; the one chosen is remembered on "OK". The full path
// of an existing file, or none when cancelled.
std::optional<std::string> ProgramFileSelection(QWidget* parent, const std::string& title,
                                                const std::string& filter, int& rememberedFilter);
