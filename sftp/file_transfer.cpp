// Downloads and uploads of one connection, block by block, each block bounded.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "connection.h"
#include "read_ahead.h"

namespace {

constexpr size_t kBlockSize = 32768;

bool WriteAll(int file, const char* data, size_t length)
{
    while (length > 0) {
        const ssize_t written = write(file, data, length);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        length -= size_t(written);
    }
    return true;
}

std::string SystemError()
{
    return std::strerror(errno);
}

}  // namespace

bool Connection::Get(const std::string& localPath, const std::string& remoteName)
{
    if (!Usable()) {
        return false;
    }
    const std::string remotePath = RemotePath(remoteName);
    sftp_file remote = nullptr;
    uint64_t expected = 0;
    bool sizeKnown = false;
    {
        WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
        remote = sftp_open(sftp_, remotePath.c_str(), O_RDONLY, 0);
        if (remote == nullptr) {
            return Fail("Cannot open " + remotePath + ": " + Reason());
        }
        sftp_attributes attributes = sftp_fstat(remote);
        if (attributes != nullptr) {
            sizeKnown = (attributes->flags & SSH_FILEXFER_ATTR_SIZE) != 0;
            expected = attributes->size;
            sftp_attributes_free(attributes);
        }
    }
    const int local = open(localPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (local < 0) {
        const std::string why = SystemError();
        WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
        sftp_close(remote);
        return Fail("Cannot create " + localPath + ": " + why);
    }
    std::string failure;
    uint64_t received = 0;
    {
        ReadAhead reads(remote, *watchdog_, timeouts_.ioSeconds, expected);
        char block[ReadAhead::kBlockSize];
        for (;;) {
            const ssize_t count = reads.Next(block);
            if (count < 0) {
                failure = "Cannot read " + remotePath + ": " + Reason();
                break;
            }
            if (count == 0) {
                break;
            }
            if (!WriteAll(local, block, size_t(count))) {
                failure = "Cannot write " + localPath + ": " + SystemError();
                break;
            }
            received += uint64_t(count);
        }
    }
    if (close(local) != 0 && failure.empty()) {
        failure = "Cannot write " + localPath + ": " + SystemError();
    }
    {
        WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
        sftp_close(remote);
    }
    if (failure.empty() && sizeKnown && received != expected) {
        failure = "Download of " + remotePath + " incomplete: " + std::to_string(received)
            + " of " + std::to_string(expected) + " bytes";
    }
    if (!failure.empty()) {
        unlink(localPath.c_str());
        return Fail(failure);
    }
    return true;
}

bool Connection::Put(const std::string& localPath, const std::string& remoteName)
{
    if (!Usable()) {
        return false;
    }
    const int local = open(localPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (local < 0) {
        return Fail("Cannot open " + localPath + ": " + SystemError());
    }
    const std::string remotePath = RemotePath(remoteName);
    sftp_file remote = nullptr;
    {
        WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
        remote = sftp_open(sftp_, remotePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    if (remote == nullptr) {
        close(local);
        return Fail("Cannot create " + remotePath + ": " + Reason());
    }
    std::string failure;
    char block[kBlockSize];
    for (;;) {
        const ssize_t count = read(local, block, sizeof block);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            failure = "Cannot read " + localPath + ": " + SystemError();
            break;
        }
        if (count == 0) {
            break;
        }
        WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
        if (sftp_write(remote, block, size_t(count)) != count) {
            failure = "Cannot write " + remotePath + ": " + Reason();
            break;
        }
    }
    close(local);
    WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
    if (sftp_close(remote) != SSH_OK && failure.empty()) {
        failure = "Cannot write " + remotePath + ": " + Reason();
    }
    return failure.empty() || Fail(failure);
}
