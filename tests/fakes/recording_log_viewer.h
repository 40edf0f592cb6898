// A log-viewer seam for tests: records the files it was asked to open.
#pragma once

#include "platform/log_viewer.h"

#include <string>
#include <vector>

class RecordingLogViewer : public LogViewer {
public:
    void Open(const std::string& path) override { opened.push_back(path); }

    std::vector<std::string> opened;
};
