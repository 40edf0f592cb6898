#include "config/ini_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kBlanks = " \t\v\f\r";

std::string Trim(const std::string& text)
{
    std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return "";
    std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool IsBlank(char c)
{
    return std::string_view(kBlanks).find(c) != std::string_view::npos;
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x += 0x20;
        if (y >= 'A' && y <= 'Z')
            y += 0x20;
        if (x != y)
            return false;
    }
    return true;
}

// A value that would lose its outer blanks or its enclosing quotes when read back is
// written inside one more pair of quotes, which the read removes again.
std::string EncodeValue(const std::string& value)
{
    bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || quoted))
        return '"' + value + '"';
    return value;
}

bool WriteAll(int fd, const std::string& data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A new settings file holds the store password: only its owner reads it.
constexpr mode_t kNewFileMode = 0600;

// The byte-order mark some editors put at the start of a UTF-8 file.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

IniFile::IniFile(std::string path)
    : path_(std::move(path))
{
}

IniFile::Line IniFile::Parse(std::string text, std::string ending)
{
    Line line;
    line.text = std::move(text);
    line.ending = std::move(ending);
    std::size_t first = line.text.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return line;
    char lead = line.text[first];
    if (lead == '[') {
        // A header without "]" names the section up to the end of its line.
        std::size_t close = line.text.find(']', first);
        std::size_t end = close == std::string::npos ? line.text.size() : close;
        line.kind = LineKind::Section;
        line.name = Trim(line.text.substr(first + 1, end - first - 1));
        return line;
    }
    if (lead == ';' || lead == '#')
        return line;
    std::size_t equals = line.text.find('=', first);
    if (equals == std::string::npos)
        return line;
    std::string key = Trim(line.text.substr(first, equals - first));
    if (key.empty())
        return line;
    line.kind = LineKind::Key;
    line.name = std::move(key);
    line.valueStart = equals + 1;
    return line;
}

bool IniFile::Load()
{
    lines_.clear();
    lineEnding_ = "\n";
    changed_ = false;

    int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    std::string data;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            int error = errno;
            ::close(fd);
            errno = error;
            return false;
        }
        if (n == 0)
            break;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);

    bool endingKnown = false;
    std::size_t start = data.rfind(kByteOrderMark, 0) == 0 ? kByteOrderMark.size() : 0;
    while (start < data.size()) {
        std::size_t newline = data.find('\n', start);
        std::string text, ending;
        if (newline == std::string::npos) {
            text = data.substr(start);
            start = data.size();
        } else {
            text = data.substr(start, newline - start);
            ending = "\n";
            if (!text.empty() && text.back() == '\r') {
                text.pop_back();
                ending = "\r\n";
            }
            start = newline + 1;
            if (!endingKnown) {
                lineEnding_ = ending;
                endingKnown = true;
            }
        }
        lines_.push_back(Parse(std::move(text), std::move(ending)));
    }
    return true;
}

bool IniFile::FindSection(const std::string& section, std::size_t& begin, std::size_t& end) const
{
    std::string name = Trim(section);
    for (begin = 0; begin < lines_.size(); ++begin) {
        if (lines_[begin].kind == LineKind::Section && SameName(lines_[begin].name, name))
            break;
    }
    if (begin == lines_.size())
        return false;
    for (end = begin + 1; end < lines_.size(); ++end) {
        if (lines_[end].kind == LineKind::Section)
            break;
    }
    return true;
}

const IniFile::Line* IniFile::FindKey(const std::string& section, const std::string& key) const
{
    std::size_t begin, end;
    if (!FindSection(section, begin, end))
        return nullptr;
    std::string name = Trim(key);
    for (std::size_t i = begin + 1; i < end; ++i) {
        if (lines_[i].kind == LineKind::Key && SameName(lines_[i].name, name))
            return &lines_[i];
    }
    return nullptr;
}

std::optional<std::string> IniFile::Find(const std::string& section, const std::string& key) const
{
    const Line* line = FindKey(section, key);
    if (!line)
        return std::nullopt;
    std::string raw = line->text.substr(line->valueStart);
    raw = raw.substr(0, raw.find('\0'));
    std::string value = Trim(raw);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    if (value.size() > kMaxValueLength)
        value.resize(kMaxValueLength);
    return value;
}

std::string IniFile::ReadText(const std::string& section, const std::string& key,
                              const std::string& defaultValue) const
{
    return Find(section, key).value_or(defaultValue);
}

int IniFile::ReadInt(const std::string& section, const std::string& key, int defaultValue) const
{
    std::optional<std::string> value = Find(section, key);
    if (!value || value->empty())
        return defaultValue;
    const std::string& text = *value;
    std::size_t i = 0;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+') {
        negative = text[i] == '-';
        ++i;
    }
    long long number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        number = number * 10 + (text[i] - '0');
        if (number > static_cast<long long>(INT_MAX) + 1)
            number = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-number);
    return number > INT_MAX ? INT_MAX : static_cast<int>(number);
}

bool IniFile::SetValue(const std::string& section, const std::string& key, const std::string& value)
{
    std::string sectionName = Trim(section);
    std::string keyName = Trim(key);
    bool usable = !sectionName.empty() && !keyName.empty()
        && sectionName.find_first_of(std::string("]\r\n\0", 4)) == std::string::npos
        && keyName.find_first_of(std::string("=\r\n\0", 4)) == std::string::npos
        && keyName.front() != '[' && keyName.front() != ';' && keyName.front() != '#'
        && value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
    if (!usable) {
        errno = EINVAL;
        return false;
    }
    std::string encoded = EncodeValue(value);

    std::size_t begin, end;
    if (!FindSection(sectionName, begin, end)) {
        if (!lines_.empty()) {
            if (lines_.back().ending.empty())
                lines_.back().ending = lineEnding_;
            if (!Trim(lines_.back().text).empty())
                lines_.push_back(Parse("", lineEnding_));
        }
        lines_.push_back(Parse("[" + sectionName + "]", lineEnding_));
        lines_.push_back(Parse(keyName + "=" + encoded, lineEnding_));
        changed_ = true;
        return true;
    }

    std::size_t insertAt = begin + 1;
    for (std::size_t i = begin + 1; i < end; ++i) {
        Line& line = lines_[i];
        if (line.kind != LineKind::Key)
            continue;
        if (SameName(line.name, keyName)) {
            std::string text = line.text.substr(0, line.valueStart) + encoded;
            if (text != line.text) {
                line = Parse(std::move(text), line.ending);
                changed_ = true;
            }
            return true;
        }
        insertAt = i + 1;
    }
    Line& previous = lines_[insertAt - 1];
    if (previous.ending.empty())
        previous.ending = lineEnding_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  Parse(keyName + "=" + encoded, lineEnding_));
    changed_ = true;
    return true;
}

void IniFile::RemoveKey(const std::string& section, const std::string& key)
{
    std::size_t begin, end;
    if (!FindSection(section, begin, end))
        return;
    std::string name = Trim(key);
    for (std::size_t i = end; i-- > begin + 1;) {
        if (lines_[i].kind == LineKind::Key && SameName(lines_[i].name, name)) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
            changed_ = true;
        }
    }
}

void IniFile::RemoveSection(const std::string& section)
{
    std::size_t begin, end;
    while (FindSection(section, begin, end)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(begin),
                     lines_.begin() + static_cast<std::ptrdiff_t>(end));
        changed_ = true;
    }
}

std::string IniFile::Serialize() const
{
    std::string data;
    for (const Line& line : lines_) {
        data += line.text;
        data += line.ending;
    }
    return data;
}

bool IniFile::Save()
{
    namespace fs = std::filesystem;
    if (path_.empty()) {
        errno = ENOENT;
        return false;
    }
    // A settings file reached through a symbolic link is replaced where it lies, and
    // the link stays.
    std::error_code error;
    fs::path target = path_;
    if (fs::is_symlink(fs::symlink_status(target, error))) {
        target = fs::weakly_canonical(target, error);
        if (error) {
            errno = error.value();
            return false;
        }
    }
    // The rename needs only the folder's write right: a file its user may not write
    // stays as it is.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT)
        return false;
    fs::path folder = target.parent_path();
    std::string temporary = (folder.empty() ? fs::path(".") : folder).string() + "/."
        + target.filename().string() + ".XXXXXX";

    int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
        // Only root can hand the file back to another owner; otherwise it becomes the
        // writer's, as any rewrite would make it.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            errno = 0;
    } else {
        ::fchmod(fd, kNewFileMode);
    }
    bool written = WriteAll(fd, Serialize()) && ::fsync(fd) == 0;
    int failure = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        failure = errno;
    }
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        if (written)
            failure = errno;
        ::unlink(temporary.c_str());
        errno = failure;
        return false;
    }
    int folderFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    changed_ = false;
    return true;
}
