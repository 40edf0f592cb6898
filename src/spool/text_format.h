// printf-style formatting into a std::string, for the station's fixed texts.
#pragma once

#include <string>

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
