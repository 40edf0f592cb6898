#include "support/white_space.h"

std::string StripWhiteSpace(const std::string& text)
{
    constexpr const char* kWhiteSpace = " \t\r\n\v\f";
    std::size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos)
        return "";
    std::size_t last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}
