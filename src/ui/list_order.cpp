#include "ui/list_order.h"

#include <algorithm>

namespace {

// The next code point of a UTF-8 text, folded; a byte that starts no valid sequence of
// two stands for itself.
unsigned NextFolded(const std::string& text, std::size_t& i)
{
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead >= 'A' && lead <= 'Z') {
        ++i;
        return lead + 0x20u;
    }
    if (lead >= 0xC2 && lead <= 0xDF && i + 1 < text.size()
        && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
        unsigned code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
        i += 2;
        // Latin-1 capitals À to Þ, except the multiplication sign.
        if (code >= 0xC0 && code <= 0xDE && code != 0xD7)
            code += 0x20;
        return code;
    }
    ++i;
    // Longer sequences compare by their bytes, after every two-byte letter.
    return lead < 0x80 ? lead : 0x800u + lead;
}

}  // namespace

bool LessWithoutCase(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const unsigned x = NextFolded(a, i);
        const unsigned y = NextFolded(b, j);
        if (x != y)
            return x < y;
    }
    return i == a.size() && j < b.size();
}

std::size_t SortedPosition(const std::vector<std::string>& lines, const std::string& line)
{
    return static_cast<std::size_t>(std::upper_bound(lines.begin(), lines.end(), line, LessWithoutCase) - lines.begin());
}
