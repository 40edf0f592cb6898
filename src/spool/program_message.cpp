#include "spool/program_message.h"

#include "support/utf8.h"

namespace {

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
        std::size_t length = Utf8CharacterLength(line, at);
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
    return CutAtCharacter(shown, kProgramMessageBytes);
}
