// Lines of a store's directory listing, in the Unix and the DOS form.
//
// Input: listing lines, one per line (CR and LF removed as the listing reader does).
// Every line goes through both parsers, whatever its form.
//
// Promises checked against the line format worked out here: the name (at most 260
// characters, may hold blanks), the directory flag and the size, which the fetch stage
// relies on; a Unix month from 1 to 12 and a DOS year from 1970 to 2069.

#include "fuzz_check.h"
#include "net/ftp_dir_entry.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kNameLimit = 260;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

struct Split {
    std::vector<std::string> tokens;
    std::vector<std::size_t> afterRun;  // offset after each run of blanks, in order
};

Split SplitLine(const std::string& line)
{
    Split split;
    std::size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            while (i < line.size() && IsBlank(line[i]))
                ++i;
            split.afterRun.push_back(i);
        } else {
            std::size_t start = i;
            while (i < line.size() && !IsBlank(line[i]))
                ++i;
            split.tokens.push_back(line.substr(start, i - start));
        }
    }
    return split;
}

std::string NameAfterRun(const std::string& line, const Split& split, std::size_t run)
{
    if (run == 0 || split.afterRun.size() < run)
        return "";
    return line.substr(split.afterRun[run - 1], kNameLimit);
}

long Number(const std::vector<std::string>& tokens, std::size_t index)
{
    return index < tokens.size() ? std::strtol(tokens[index].c_str(), nullptr, 10) : 0;
}

void CheckUnix(const std::string& line)
{
    FtpDirEntry entry;
    entry.name = "from before";
    ParseUnixEntry(line, entry);
    const Split split = SplitLine(line);
    const std::size_t k = split.tokens.size() < 9 ? 0 : 1;
    FUZZ_CHECK(entry.name == NameAfterRun(line, split, 7 + k));
    FUZZ_CHECK(entry.isDir == (!line.empty() && (line[0] == 'd' || line[0] == 'D')));
    FUZZ_CHECK(entry.size == Number(split.tokens, 3 + k));
    FUZZ_CHECK(entry.month >= 1 && entry.month <= 12);
}

void CheckDos(const std::string& line)
{
    FtpDirEntry entry;
    entry.name = "from before";
    ParseDosEntry(line, entry);
    const Split split = SplitLine(line);
    const std::string sizeOrDir = split.tokens.size() > 2 ? split.tokens[2] : "";
    const bool isDir = sizeOrDir.size() > 1 && (sizeOrDir[1] == 'd' || sizeOrDir[1] == 'D');
    FUZZ_CHECK(entry.name == NameAfterRun(line, split, 3));
    FUZZ_CHECK(entry.isDir == isDir);
    FUZZ_CHECK(entry.size == (isDir ? 0 : Number(split.tokens, 2)));
    FUZZ_CHECK(entry.year >= 1970 && entry.year <= 2069);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        std::size_t end = input.find('\n');
        std::string line(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        CheckUnix(line);
        CheckDos(line);
    }
    return 0;
}
