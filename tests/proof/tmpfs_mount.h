// A small tmpfs mounted on a folder for the lifetime of the object, so that a test can
// fill a disk; the tests run as root.
#pragma once

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/mount.h>

class TmpfsMount {
public:
    // Mounts a tmpfs of `kilobytes` on the existing folder; Mounted() tells whether it worked
    // and Error() why not.
    TmpfsMount(const std::string& folder, long kilobytes) : folder_(folder)
    {
        std::string options = "size=" + std::to_string(kilobytes) + "k";
        if (mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0)
            mounted_ = true;
        else
            error_ = "mount tmpfs on " + folder + ": " + std::strerror(errno);
    }
    ~TmpfsMount()
    {
        if (mounted_)
            umount2(folder_.c_str(), MNT_DETACH);
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    // Gives the disk a new size, keeping what is on it.
    bool Resize(long kilobytes)
    {
        std::string options = "size=" + std::to_string(kilobytes) + "k";
        return mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT, options.c_str()) == 0;
    }
    // Makes the disk read-only, or writable again.
    bool SetReadOnly(bool readOnly)
    {
        unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
        return mount("tmpfs", folder_.c_str(), "tmpfs", flags, nullptr) == 0;
    }

    bool Mounted() const { return mounted_; }
    const std::string& Error() const { return error_; }

private:
    std::string folder_;
    bool mounted_ = false;
    std::string error_;
};
