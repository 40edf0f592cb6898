// Bounds of every wait of the fake servers.
#pragma once

#include <string>

// Long enough for any client under a sanitizer, short enough to end a broken test.
constexpr int kServerWaitMs = 10000;
// How long a silent fake stays silent at most: beyond every time-out of the clients.
constexpr int kStallMs = 120000;

inline std::string WithoutLineEnd(std::string line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}
