// Bounds of every wait of the fake servers.
#pragma once

#include <string>

// Long enough for any client under a sanitizer, short enough to end a broken test.
constexpr int kServerWaitMs = 10000;

inline std::string WithoutLineEnd(std::string line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}
