// The list of activity-log lines that fills the main window.
#pragma once

#include <string>

class LogList {
public:
    virtual ~LogList() = default;
    virtual int Count() const = 0;
    // Adds the line at the bottom; the list keeps the order lines were added in.
    virtual void Append(const std::string& line) = 0;
    // Removes the `count` oldest lines from the top.
    virtual void RemoveFirst(int count) = 0;
    // Scrolls so that the last line is visible.
    virtual void ShowLast() = 0;
    // Paints the list at once, so that a line shows while the station is busy.
    virtual void RepaintNow() = 0;
};
