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

bool LineBreaksToBlanks(std::string& text)
{
    std::string single;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        single += c == '\r' || c == '\n' || c == '\0' ? ' ' : c;
    }
    const bool changed = single != text;
    text = std::move(single);
    return changed;
}
