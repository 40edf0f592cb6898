// The log file opened with the desktop's own program for text files (xdg-open).
#pragma once

#include "platform/log_viewer.h"

class DesktopLogViewer : public LogViewer {
public:
    void Open(const std::string& path) override;
};
