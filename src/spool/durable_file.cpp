#include "spool/durable_file.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

bool Synced(const std::string& path, int flags, int (*sync)(int))
{
    int fd = open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    bool done = sync(fd) == 0;
    return close(fd) == 0 && done;
}

}  // namespace

void StartFileFlush(const std::string& path)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return;
    sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    close(fd);
}

bool FlushFile(const std::string& path)
{
    return Synced(path, O_RDONLY, fdatasync);
}

bool FlushFolder(const std::string& folder)
{
    return Synced(folder, O_RDONLY | O_DIRECTORY, fsync);
}
