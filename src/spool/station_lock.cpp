#include "spool/station_lock.h"

#include "platform/message_box.h"
#include "spool/text_format.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

std::string HolderName(int fd)
{
    char buffer[256];
    ssize_t length = pread(fd, buffer, sizeof buffer, 0);
    std::string name(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
    return name.substr(0, name.find('\n'));
}

}  // namespace

StationLock::~StationLock()
{
    if (fd_ >= 0)
        close(fd_);
}

bool StationLock::Acquire(const std::string& folder, const std::string& programName, std::string* holder)
{
    std::string path = folder + "/" + kStationLockFile;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return true;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (holder)
            *holder = HolderName(fd);
        close(fd);
        return false;
    }
    // A lock file that cannot name its holder still holds the lock.
    std::string text = programName + "\n";
    if (ftruncate(fd, 0) == 0) {
        ssize_t written = pwrite(fd, text.data(), text.size(), 0);
        static_cast<void>(written);
    }
    fd_ = fd;
    return true;
}

bool ClaimStationFolder(StationLock& lock, const std::string& folder, const std::string& programName)
{
    std::string holder;
    if (lock.Acquire(folder, programName, &holder))
        return true;
    ShowMessageBox(FormatText("Im Ordner %s läuft bereits ein %s.", folder.c_str(),
                              (holder.empty() ? programName : holder).c_str()),
                   programName, BoxStyle::Error);
    return false;
}
