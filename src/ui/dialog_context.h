// What the settings dialogs need from the window that opens them.
#pragma once

#include <QFont>
#include <QIcon>

#include <functional>
#include <memory>
#include <string>

class FtpClient;
class WaitCursor;

struct DialogContext {
    std::string programName;  // caption of the base settings' number messages
    QIcon modeIcon;           // shown by the base settings in the Tessaline mode
    QFont listFont;           // LogFont, for the lists whose columns must line up
    WaitCursor* waitCursor = nullptr;
    // The client of the store test; a plain FtpClient when not set.
    std::function<std::unique_ptr<FtpClient>()> makeStoreClient;
    // The station's log, for what a connection test must leave there.
    std::function<void(const std::string&)> log;
};
