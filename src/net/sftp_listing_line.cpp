#include "net/sftp_listing_line.h"

#include <cstdlib>
#include <vector>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The start of each field, a field being a run of characters other than blanks.
std::vector<size_t> FieldStarts(const std::string& line)
{
    std::vector<size_t> starts;
    for (size_t i = 0; i < line.size(); ++i) {
        if (!IsBlank(line[i]) && (i == 0 || IsBlank(line[i - 1])))
            starts.push_back(i);
    }
    return starts;
}

std::string Field(const std::string& line, const std::vector<size_t>& starts, size_t index)
{
    if (index >= starts.size())
        return "";
    size_t end = starts[index];
    while (end < line.size() && !IsBlank(line[end]))
        ++end;
    return line.substr(starts[index], end - starts[index]);
}

long Number(const std::string& text)
{
    return std::strtol(text.c_str(), nullptr, 10);
}

std::string Trimmed(const std::string& text)
{
    size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    size_t last = text.size();
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

}  // namespace

void ParseSftpListingLine(const std::string& line, FtpDirEntry& entry)
{
    const std::vector<size_t> starts = FieldStarts(line);
    entry = FtpDirEntry{};
    entry.isDir = !line.empty() && line[0] == 'd';
    entry.size = Number(Field(line, starts, 4));
    entry.day = static_cast<int>(Number(Field(line, starts, 6)));
    entry.year = static_cast<int>(Number(Field(line, starts, 7)));
    if (starts.size() > 8) {
        entry.name = Trimmed(line.substr(starts[8]));
        if (!entry.name.empty() && (entry.name.back() == '/' || entry.name.back() == '*'))
            entry.name.pop_back();
    }
}
