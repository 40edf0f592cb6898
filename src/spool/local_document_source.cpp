#include "spool/local_document_source.h"

#include "net/result_codes.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_ino == b.st_ino && a.st_dev == b.st_dev;
}

// Copies the open file whole into a new file at path; false on any short step.
bool CopyOpenFile(int from, const std::string& path)
{
    int to = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (to < 0)
        return false;
    char buffer[65536];
    bool whole = true;
    for (;;) {
        ssize_t got = read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            whole = got == 0;
            break;
        }
        for (ssize_t put = 0; whole && put < got;) {
            ssize_t wrote = write(to, buffer + put, got - put);
            if (wrote < 0 && errno == EINTR)
                continue;
            whole = wrote > 0;
            put += wrote > 0 ? wrote : 0;
        }
        if (!whole)
            break;
    }
    return close(to) == 0 && whole;
}

}  // namespace

namespace {

bool Failed(int code, SourceError* error)
{
    if (error)
        *error = {code, ""};
    return false;
}

}  // namespace

bool LocalDocumentSource::Enter(const std::string& folder, SourceError*)
{
    folder_ = folder;
    fetched_.clear();
    return true;
}

bool LocalDocumentSource::List(std::vector<SourceEntry>& entries, SourceError* error)
{
    DIR* dir = opendir(folder_.c_str());
    if (dir == nullptr)
        return errno == ENOENT || Failed(UTE_FILE_OPEN_ERROR, error);
    errno = 0;
    while (dirent* item = readdir(dir)) {
        struct stat state {};
        SourceEntry entry{item->d_name};
        // A name that vanished since the listing is no regular file any more.
        entry.regular = fstatat(dirfd(dir), item->d_name, &state, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(state.st_mode);
        entry.size = state.st_size;
        entry.time = state.st_mtim.tv_sec;
        entries.push_back(entry);
        errno = 0;
    }
    bool complete = errno == 0;
    closedir(dir);
    return complete || Failed(UTE_FILE_READ_ERROR, error);
}

bool LocalDocumentSource::Fetch(const SourceEntry& entry, const std::string& localPath, SourceError* error)
{
    int from = open(Path(entry).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (from < 0)
        return Failed(UTE_FILE_OPEN_ERROR, error);
    struct stat before {};
    struct stat after {};
    bool whole = fstat(from, &before) == 0 && S_ISREG(before.st_mode) && CopyOpenFile(from, localPath) &&
                 fstat(from, &after) == 0 && SameFile(before, after);
    close(from);
    if (!whole)
        return Failed(UTE_FILE_READ_ERROR, error);
    fetched_[entry.name] = before;
    return true;
}

std::optional<long long> LocalDocumentSource::SizeNow(const SourceEntry& entry)
{
    struct stat now {};
    auto copied = fetched_.find(entry.name);
    if (lstat(Path(entry).c_str(), &now) != 0 || !S_ISREG(now.st_mode))
        return -1;
    if (copied != fetched_.end() && !SameFile(copied->second, now))
        return -1;
    return now.st_size;
}

DeleteOutcome LocalDocumentSource::Delete(const SourceEntry& entry, SourceError* error)
{
    if (unlink(Path(entry).c_str()) == 0)
        return DeleteOutcome::Deleted;
    Failed(UTE_FILE_ERROR, error);
    return DeleteOutcome::Refused;
}
