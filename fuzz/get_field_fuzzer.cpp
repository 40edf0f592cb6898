// A row of the institution list from the service's web server, taken apart into its
// fields.
//
// Input: the row, as the server sent it.
//
// Promises checked: the fields are the pieces between the bytes 0xF8, counted from 0,
// and an index past the last gives an empty text; every field comes out as valid UTF-8
// (checked here on its own): a field that was valid UTF-8 already comes out as it was,
// any other byte for byte as one character each; folding the case keeps it valid UTF-8
// of the same length.

#include "fuzz_check.h"
#include "net/service_request.h"
#include "net/service_text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Well-formed UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t length;
        unsigned long point;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            point = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            point = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            point = c & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (std::size_t j = 1; j < length; ++j) {
            unsigned char d = static_cast<unsigned char>(text[i + j]);
            if ((d & 0xC0) != 0x80)
                return false;
            point = (point << 6) | (d & 0x3F);
        }
        if ((length == 3 && point < 0x800) || (length == 4 && point < 0x10000) || point > 0x10FFFF
            || (point >= 0xD800 && point <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

std::size_t CodePoints(std::string_view utf8)
{
    std::size_t count = 0;
    for (char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t separator = line.find('\xF8', start);
        fields.push_back(line.substr(start, separator == std::string::npos ? std::string::npos : separator - start));
        if (separator == std::string::npos)
            break;
        start = separator + 1;
    }

    for (std::size_t index = 0; index < fields.size() && index < 64; ++index) {
        const std::string field = ServiceRequest::GetField(line, static_cast<int>(index));
        FUZZ_CHECK(IsUtf8(field));
        if (IsUtf8(fields[index]))
            FUZZ_CHECK(field == fields[index]);
        else
            FUZZ_CHECK(CodePoints(field) == fields[index].size());
        const std::string folded = FoldCase(field);
        FUZZ_CHECK(IsUtf8(folded) && folded.size() == field.size());
    }
    FUZZ_CHECK(ServiceRequest::GetField(line, static_cast<int>(fields.size())).empty());
    FUZZ_CHECK(ServiceRequest::GetField(line, -1).empty());
    return 0;
}
