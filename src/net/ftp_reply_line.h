// Small helpers for the lines of FTP replies and listings.
#pragma once

#include <cstdlib>
#include <string>

// Removes up to two trailing CR or LF characters.
inline void TrimLineEnd(std::string& line)
{
    for (int i = 0; i < 2 && !line.empty() && (line.back() == '\r' || line.back() == '\n'); ++i)
        line.pop_back();
}

// The numeric value of the first three characters; 0 when they hold no number.
inline int ReplyCode(const std::string& line)
{
    return static_cast<int>(std::strtol(line.substr(0, 3).c_str(), nullptr, 10));
}
