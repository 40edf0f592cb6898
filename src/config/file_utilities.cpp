#include "config/file_utilities.h"

#include "config/ini_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kWhiteSpace = " \t\r\n\v\f";

std::string Trim(const std::string& text)
{
    std::size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos)
        return "";
    std::size_t last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}

std::string Format(const char* format, std::initializer_list<std::string> values)
{
    std::string result;
    auto value = values.begin();
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == 's' && value != values.end()) {
            result += *value++;
            ++p;
        } else {
            result += *p;
        }
    }
    return result;
}

const char* OrEmpty(const char* text)
{
    return text ? text : "";
}

bool ApplyIniWrite(const char* section, const char* key, const char* value, const std::string& file)
{
    if (!section) {
        errno = EINVAL;
        return false;
    }
    IniFile ini(file);
    if (!ini.Load())
        return false;
    if (!key)
        ini.RemoveSection(section);
    else if (!value)
        ini.RemoveKey(section, key);
    else if (!ini.SetValue(section, key, value))
        return false;
    return !ini.Changed() || ini.Save();
}

}  // namespace

std::string ReadIniText(const std::string& section, const std::string& key,
                        const std::string& defaultValue, const std::string& file)
{
    IniFile ini(file);
    ini.Load();
    return ini.ReadText(section, key, defaultValue);
}

int ReadIniInt(const std::string& section, const std::string& key, int defaultValue,
               const std::string& file)
{
    IniFile ini(file);
    ini.Load();
    return ini.ReadInt(section, key, defaultValue);
}

bool WriteIniText(const char* section, const char* key, const char* value, const std::string& file,
                  std::string* error)
{
    // All three null is the flush request of buffered settings files; nothing is
    // buffered here.
    if (!section && !key && !value)
        return true;
    // A program started under another name than its two own has no settings file:
    // its reads give the defaults, and its writes do nothing and count as done, so a
    // save neither creates a stray file nor fails at every key.
    if (file.empty())
        return true;
    if (ApplyIniWrite(section, key, value, file))
        return true;
    if (error)
        *error = Format("could not write ini-key:\n\nFile: %s\nSection:%s\nKey:%s\nValue: '%s'\n\nError: %s",
                        {file, OrEmpty(section), OrEmpty(key), OrEmpty(value), LastErrorText()});
    return false;
}

bool WriteIniInt(const char* section, const char* key, int value, const std::string& file,
                 std::string* error)
{
    return WriteIniText(section, key, std::to_string(value).c_str(), file, error);
}

bool PathExists(const std::string& path)
{
    return !path.empty() && ::access(path.c_str(), R_OK) == 0;
}

std::int64_t FileSize(const std::string& path)
{
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0)
        return -1;
    return status.st_size;
}

std::string FullPath(const std::string& path)
{
    if (path.empty())
        return "";
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error);
    if (error)
        return "";
    return full.lexically_normal().string();
}

bool CopyFileIn(const std::string& source, const std::string& target, bool overwrite,
                const std::string& folder)
{
    std::string from = source;
    std::string to = target;
    if (!folder.empty() && PathExists(folder)) {
        from = folder + "/" + source;
        to = folder + "/" + target;
    }
    namespace fs = std::filesystem;
    std::error_code error;
    fs::copy_file(from, to, overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::none,
                  error);
    if (error) {
        errno = error.value();
        return false;
    }
    return true;
}

bool SplitList(const std::string& text, const std::string& delimiters, std::vector<std::string>& list)
{
    if (text.empty() || delimiters.empty())
        return false;
    list.clear();
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find_first_of(delimiters, start);
        std::string piece = Trim(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (!piece.empty())
            list.push_back(std::move(piece));
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

bool ut_create_complete_path(const std::string& path, std::string* error)
{
    std::string rest = Trim(path);
    for (char& c : rest) {
        if (c == '\\')
            c = '/';
    }
    // A leading "//" is the root like "/": folders are local, there are no shares.
    std::vector<std::string> components;
    SplitList(rest, "/", components);
    std::string built = !rest.empty() && rest.front() == '/' ? "/" : "";
    for (const std::string& component : components) {
        built += component;
        if (!PathExists(built) && ::mkdir(built.c_str(), 0777) != 0) {
            // An existing folder that may not be read is still a folder to go on from.
            struct stat status {};
            int failure = errno;
            bool isFolder = failure == EEXIST && ::stat(built.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
            if (!isFolder) {
                if (error)
                    *error = Format("ut_create_complete_path: could not create folder: %s\nError: %s",
                                    {built, std::strerror(failure)});
                errno = failure;
                return false;
            }
        }
        built += "/";
    }
    return true;
}

std::string LastErrorText()
{
    return std::strerror(errno);
}
