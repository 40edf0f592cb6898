#include "spool/program_message.h"

namespace {

// The length of the well-formed UTF-8 character at `at`, 0 when there is none.
std::size_t CharacterLength(const std::string& text, std::size_t at)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    }
    // No overlong form, no surrogate, nothing beyond U+10FFFF.
    unsigned char second = length > 1 ? byte(at + 1) : 0;
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

bool IsControl(const std::string& text, std::size_t at, std::size_t length)
{
    unsigned char lead = static_cast<unsigned char>(text[at]);
    if (length == 1)
        return lead < 0x20 || lead == 0x7F;
    return length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
}

}  // namespace

std::string ProgramMessage(const std::string& line)
{
    std::string shown;
    for (std::size_t at = 0; at < line.size();) {
        std::size_t length = CharacterLength(line, at);
        if (length == 0 || IsControl(line, at, length))
            shown += line[at] == '\t' ? ' ' : '?';
        else
            shown.append(line, at, length);
        at += length == 0 ? 1 : length;
    }
    std::size_t first = shown.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    shown = shown.substr(first, shown.find_last_not_of(' ') + 1 - first);
    if (shown.size() <= kProgramMessageBytes)
        return shown;
    std::size_t end = kProgramMessageBytes;
    while ((static_cast<unsigned char>(shown[end]) & 0xC0) == 0x80)
        --end;
    return shown.substr(0, end);
}
