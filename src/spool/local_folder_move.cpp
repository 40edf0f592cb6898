#include "spool/local_folder_move.h"

#include "spool/activity_log.h"
#include "spool/free_file_name.h"
#include "spool/pdf_search.h"
#include "spool/text_format.h"

#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

bool SameFileState(const struct stat& a, const struct stat& b)
{
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_ino == b.st_ino;
}

// Copies the source into the folder through a temporary name, then gives the copy the
// source's name, or a free one beside a waiting document of that name. True, with the
// copy's path in target, when the copy holds the whole source as it was before and
// after the copy.
bool CopyWhole(const std::string& source, const std::string& folder, const std::string& name, std::string& target)
{
    struct stat before {};
    if (stat(source.c_str(), &before) != 0 || !S_ISREG(before.st_mode))
        return false;
    std::string partial = PartialPath(folder, name);
    std::error_code error;
    std::filesystem::copy_file(source, partial, std::filesystem::copy_options::overwrite_existing, error);
    struct stat after {};
    struct stat copy {};
    bool whole = !error && stat(source.c_str(), &after) == 0 && SameFileState(before, after) &&
                 stat(partial.c_str(), &copy) == 0 && copy.st_size == before.st_size;
    if (!whole || (target = MoveToFreeName(partial, folder, name)).empty()) {
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool MoveLocalFolder(ActivityLog& log, const std::string& source, const std::string& destination)
{
    std::vector<std::pair<std::string, std::string>> copied;
    for (const std::string& name : FindPdfFiles(source)) {
        std::string from = source + "/" + name;
        std::string to;
        if (CopyWhole(from, destination, name, to))
            copied.emplace_back(from, to);
    }
    bool moved = false;
    for (const auto& [from, to] : copied) {
        if (std::remove(from.c_str()) == 0) {
            moved = true;
        } else {
            // A source that stays would be fetched and printed again at every cycle.
            std::remove(to.c_str());
            log.AddLogLine(FormatText("konnte die Datei %s nicht löschen", from.c_str()));
        }
    }
    return moved;
}
