#include "spool/free_file_name.h"

#include "spool/pdf_search.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr const char* kPartialSuffix = ".part";

// More documents of one name than anyone leaves waiting.
constexpr int kLastNumber = 9999;

// Renames without replacing: false with errno EEXIST when the target exists.
bool RenameNoReplace(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: look first. The station is the only writer of its
    // spool folders.
    struct stat existing {};
    if (lstat(to.c_str(), &existing) == 0) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

bool IsPlainFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name)
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7f)
            return false;
    return true;
}

std::string FittedFileName(const std::string& base, const std::string& tail)
{
    if (base.size() + tail.size() <= kLongestFileName)
        return base + tail;
    if (tail.size() >= kLongestFileName)
        return FittedFileName(base + tail, "");
    size_t end = kLongestFileName - tail.size();
    while (end > 0 && (static_cast<unsigned char>(base[end]) & 0xc0) == 0x80)
        --end;
    return base.substr(0, end) + tail;
}

std::string NumberedFileName(const std::string& name, int number)
{
    size_t dot = name.rfind('.');
    std::string base = dot == std::string::npos ? name : name.substr(0, dot);
    std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    return FittedFileName(base, (number == 1 ? "" : "_" + std::to_string(number)) + extension);
}

std::string ShortStandIn(const std::string& name)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : name)
        hash = (hash ^ c) * 1099511628211ull;
    char text[18];
    std::snprintf(text, sizeof text, "~%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::string MoveToFreeName(const std::string& from, const std::string& folder, const std::string& name)
{
    for (int number = 1; number <= kLastNumber; ++number) {
        std::string target = folder + "/" + NumberedFileName(name, number);
        if (RenameNoReplace(from, target))
            return target;
        if (errno != EEXIST)
            return "";
    }
    return "";
}

std::string PartialPath(const std::string& folder, const std::string& name)
{
    std::string partial = name + kPartialSuffix;
    return folder + "/" + (partial.size() <= kLongestFileName ? partial : ShortStandIn(name) + ".pdf" + kPartialSuffix);
}

void RemoveStalePartials(const std::string& folder)
{
    namespace fs = std::filesystem;
    const std::string_view suffix = kPartialSuffix;
    std::error_code error;
    // Stepped with an error code: a folder that changes under the walk ends it, it never
    // throws into the polling cycle.
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        std::string name = entry->path().filename().string();
        if (name.size() > suffix.size() && name.ends_with(suffix) &&
            HasPdfExtension(name.substr(0, name.size() - suffix.size())) && entry->is_regular_file(error))
            std::remove(entry->path().c_str());
    }
}
