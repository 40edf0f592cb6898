// Lines of a store's directory listing: the Unix and the DOS form of an FTP listing, and
// the long form the SFTP component delivers.
//
// Input: listing lines, one per line (CR and LF removed as the listing reader does).
// Every line goes through all three parsers, whatever its form.
//
// Promises checked against the line format worked out here: the name (may hold blanks;
// at most 260 characters from an FTP listing; without surrounding blanks and one "/" or
// "*" mark from the SFTP component), the directory flag and the size, which the fetch
// stage relies on; a Unix month from 1 to 12, a DOS year from 1970 to 2069; an SFTP
// entry starts from zero.

#include "fuzz_check.h"
#include "net/ftp_dir_entry.h"
#include "net/sftp_listing_line.h"

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
    std::vector<std::size_t> tokenStart;
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
            split.tokenStart.push_back(start);
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

void CheckSftp(const std::string& line)
{
    FtpDirEntry entry;
    entry.name = "from before";
    entry.month = entry.hour = entry.minute = 7;
    ParseSftpListingLine(line, entry);
    const Split split = SplitLine(line);
    std::string name;
    if (split.tokens.size() > 8) {
        name = line.substr(split.tokenStart[8]);
        while (!name.empty() && IsBlank(name.back()))
            name.pop_back();
        if (name.back() == '/' || name.back() == '*')
            name.pop_back();
    }
    FUZZ_CHECK(entry.name == name);
    FUZZ_CHECK(entry.isDir == (!line.empty() && line[0] == 'd'));
    FUZZ_CHECK(entry.size == Number(split.tokens, 4));
    FUZZ_CHECK(entry.month == 0 && entry.hour == 0 && entry.minute == 0);
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
        CheckSftp(line);
    }
    return 0;
}
