// The desktop's viewer for the log file.
#pragma once

#include <string>

class LogViewer {
public:
    virtual ~LogViewer() = default;
    // Opens the file in the desktop's text viewer; returns at once, the result is
    // not reported.
    virtual void Open(const std::string& path) = 0;
};
