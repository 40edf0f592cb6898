#include "net/ftp_dir_entry.h"

#include <cstdlib>
#include <ctime>
#include <strings.h>
#include <vector>

namespace {

constexpr size_t kMaxName = 260;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::vector<std::string> Tokens(const std::string& line)
{
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        if (i > start)
            tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

// The text after the n-th run of blanks; a run at the very start counts.
std::string AfterBlankRun(const std::string& line, int n)
{
    size_t i = 0;
    for (int run = 0; run < n; ++run) {
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        if (i == line.size())
            return "";
        while (i < line.size() && IsBlank(line[i]))
            ++i;
    }
    return line.substr(i, kMaxName);
}

std::string TokenAt(const std::vector<std::string>& tokens, size_t index)
{
    return index < tokens.size() ? tokens[index] : std::string();
}

long Number(const std::string& text)
{
    return std::strtol(text.c_str(), nullptr, 10);
}

int CurrentYear()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

int MonthNumber(const std::string& token)
{
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < 12; ++i) {
        if (strcasecmp(token.c_str(), kMonths[i]) == 0)
            return i + 1;
    }
    return 1;
}

}  // namespace

void ParseUnixEntry(const std::string& line, FtpDirEntry& entry)
{
    const std::vector<std::string> tokens = Tokens(line);
    // Without the group column every field after the owner moves one to the left.
    const size_t k = tokens.size() < 9 ? 0 : 1;

    entry = FtpDirEntry{};
    entry.name = AfterBlankRun(line, static_cast<int>(7 + k));
    entry.isDir = !line.empty() && (line[0] == 'd' || line[0] == 'D');
    entry.size = Number(TokenAt(tokens, 3 + k));
    entry.month = tokens.size() > 4 + k ? MonthNumber(tokens[4 + k]) : 1;
    entry.day = tokens.size() > 5 + k ? static_cast<int>(Number(tokens[5 + k])) : 1;

    const std::string when = TokenAt(tokens, 6 + k);
    size_t colon = when.find(':');
    if (colon != std::string::npos) {
        entry.year = CurrentYear();
        entry.hour = static_cast<int>(Number(when.substr(0, colon)));
        entry.minute = static_cast<int>(Number(when.substr(colon + 1)));
    } else {
        entry.year = static_cast<int>(Number(when));
    }
}

void ParseDosEntry(const std::string& line, FtpDirEntry& entry)
{
    const std::vector<std::string> tokens = Tokens(line);

    entry = FtpDirEntry{};
    entry.name = AfterBlankRun(line, 3);

    const std::string sizeOrDir = TokenAt(tokens, 2);
    entry.isDir = sizeOrDir.size() > 1 && (sizeOrDir[1] == 'd' || sizeOrDir[1] == 'D');
    entry.size = entry.isDir ? 0 : Number(sizeOrDir);

    const std::string date = TokenAt(tokens, 0);
    size_t dash = date.find('-');
    entry.month = static_cast<int>(Number(date.substr(0, dash)));
    entry.day = dash == std::string::npos ? 1 : static_cast<int>(Number(date.substr(dash + 1)));
    int yy = date.size() > 6 ? static_cast<int>(Number(date.substr(6, 2))) : 0;
    entry.year = yy >= 70 ? 1900 + yy : 2000 + yy;

    const std::string time = TokenAt(tokens, 1);
    size_t colon = time.find(':');
    entry.hour = 12;
    if (colon != std::string::npos && colon > 0)
        entry.hour = static_cast<int>(Number(time.substr(0, colon)));
    if (colon != std::string::npos) {
        const std::string rest = time.substr(colon + 1);
        entry.minute = static_cast<int>(Number(rest.substr(0, 2)));
        // 12-hour clock: 12:xxAM is just after midnight, 12:xxPM just after noon.
        if (rest.size() > 2) {
            bool afternoon = rest[2] == 'P' || rest[2] == 'p';
            entry.hour = entry.hour % 12 + (afternoon ? 12 : 0);
        }
    }
}
