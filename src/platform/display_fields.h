// The fields of the main window that show what a polling cycle is doing.
#pragma once

#include <cstdint>
#include <string>

class DisplayFields {
public:
    virtual ~DisplayFields() = default;
    virtual void SetFolderText(const std::string& text) = 0;  // "Verzeichnis:"
    virtual void SetFileText(const std::string& text) = 0;    // "Datei:"
    // "Verzeichnis-Status:": progress through the entries of a folder.
    virtual void SetFolderProgressRange(std::int64_t low, std::int64_t high) = 0;
    virtual void SetFolderProgressPosition(std::int64_t position) = 0;
    // "Datei-Status:": progress of one file transfer, in bytes.
    virtual void SetFileProgressRange(std::int64_t low, std::int64_t high) = 0;
    virtual void SetFileProgressPosition(std::int64_t position) = 0;
    virtual void SetStatusText(const std::string& text) = 0;  // "Status:"
};
