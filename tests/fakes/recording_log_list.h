// A log-list seam for tests: holds the lines like the window's list does.
#pragma once

#include "platform/log_list.h"

#include <string>
#include <vector>

class RecordingLogList : public LogList {
public:
    int Count() const override { return static_cast<int>(lines.size()); }
    void Append(const std::string& line) override { lines.push_back(line); }
    void RemoveFirst(int count) override
    {
        removals.push_back(count);
        lines.erase(lines.begin(), lines.begin() + count);
    }
    void ShowLast() override { ++shownLast; }
    void RepaintNow() override { ++repaints; }

    std::vector<std::string> lines;
    std::vector<int> removals;
    int shownLast = 0;
    int repaints = 0;
};
