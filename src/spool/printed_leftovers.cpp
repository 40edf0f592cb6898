#include "spool/printed_leftovers.h"

#include "spool/activity_log.h"
#include "spool/free_file_name.h"
#include "spool/text_format.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

void PrintedLeftovers::Remember(const std::string& path)
{
    Identity identity{};
    if (IdentityOf(path, identity))
        printed_[path] = identity;
}

bool PrintedLeftovers::Holds(const std::string& path) const
{
    auto found = printed_.find(path);
    Identity now{};
    if (found == printed_.end() || !IdentityOf(path, now))
        return false;
    const Identity& then = found->second;
    return now.device == then.device && now.inode == then.inode && now.size == then.size &&
           now.modified == then.modified;
}

bool PrintedLeftovers::IdentityOf(const std::string& path, Identity& identity)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return false;
    identity = {status.st_dev, status.st_ino, status.st_size,
                static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec};
    return true;
}

void RemovePrintedFile(const std::string& folder, const std::string& fileName, ActivityLog& log,
                       PrintedLeftovers& leftovers)
{
    std::string path = folder + (folder.back() == '/' ? "" : "/") + fileName;
    if (unlink(path.c_str()) == 0 || errno == ENOENT)
        return;
    std::string reason = std::strerror(errno);
    std::string aside = MoveToFreeName(path, folder, fileName + ".gedruckt");
    if (!aside.empty()) {
        log.AddLogLine(FormatText("Gedruckte Datei %s lässt sich nicht löschen (%s), umbenannt in %s",
                                  path.c_str(), reason.c_str(), aside.c_str()));
        return;
    }
    leftovers.Remember(path);
    log.AddLogLine(FormatText("Gedruckte Datei %s lässt sich weder löschen noch umbenennen (%s), "
                              "sie wird in diesem Lauf nicht mehr gedruckt",
                              path.c_str(), reason.c_str()));
}
