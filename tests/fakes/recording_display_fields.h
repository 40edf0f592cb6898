// A display-field seam for tests: keeps the current contents and every status text.
#pragma once

#include "platform/display_fields.h"

#include <cstdint>
#include <string>
#include <vector>

class RecordingDisplayFields : public DisplayFields {
public:
    void SetFolderText(const std::string& text) override
    {
        folderText = text;
        ++changes;
    }
    void SetFileText(const std::string& text) override
    {
        fileText = text;
        ++changes;
    }
    void SetFolderProgressRange(std::int64_t low, std::int64_t high) override
    {
        folderLow = low;
        folderHigh = high;
        ++changes;
    }
    void SetFolderProgressPosition(std::int64_t position) override
    {
        folderPosition = position;
        ++changes;
    }
    void SetFileProgressRange(std::int64_t low, std::int64_t high) override
    {
        fileLow = low;
        fileHigh = high;
        ++changes;
    }
    void SetFileProgressPosition(std::int64_t position) override
    {
        filePosition = position;
        ++changes;
    }
    void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }

    std::string folderText;
    std::string fileText;
    std::int64_t folderLow = 0, folderHigh = 0, folderPosition = 0;
    std::int64_t fileLow = 0, fileHigh = 0, filePosition = 0;
    int changes = 0;  // calls other than SetStatusText
    std::vector<std::string> statusTexts;
};
