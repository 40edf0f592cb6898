#include "support/text_columns.h"

std::size_t CharacterCount(const std::string& text)
{
    std::size_t count = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

std::string PaddedToWidth(const std::string& text, std::size_t width)
{
    const std::size_t length = CharacterCount(text);
    return length < width ? text + std::string(width - length, ' ') : text;
}
