// Downloads and uploads of one connection, block by block, each block bounded.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>

#include "connection.h"
#include "read_ahead.h"

namespace {

constexpr size_t kBlockSize = 32768;
constexpr size_t kWritesInFlight = 64;

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
    std::string remotePath;
    if (!Usable() || !RemotePath(remoteName, remotePath)) {
        return false;
    }
    // An announced file was opened, and maybe asked for its size and first reads, in the
    // flight of an earlier call.
    std::optional<AnnouncedFile> announced = TakeAnnounced(remotePath);
    Reply reply;
    bool opened = false;
    if (announced) {
        WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
        opened = announced->opening == 0 || channel_->Wait(announced->opening, announced->opened);
        reply = std::move(announced->opened);
    } else {
        WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
        opened = channel_->Wait(channel_->Send(SSH_FXP_OPEN, Message().String(remotePath).U32(SSH_FXF_READ).U32(0)),
                                reply);
    }
    if (!opened || !channel_->Expect(reply, SSH_FXP_HANDLE)) {
        return Fail("Cannot open " + remotePath + ": " + Reason());
    }
    const std::string handle = Fields(reply.body).String();
    const int local = open(localPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (local < 0) {
        const std::string why = SystemError();
        if (announced && announced->sizing != 0) {
            channel_->Forget(announced->sizing);
        }
        CloseHandle(handle);
        return Fail("Cannot create " + localPath + ": " + why);
    }
    std::string failure;
    uint64_t expected = 0;
    bool sizeKnown = false;
    uint64_t received = 0;
    {
        // The size goes in the same flight as the first reads, and with them those of the
        // announced files whose open came back.
        std::unique_ptr<ReadAhead> reads;
        uint32_t sizing = 0;
        if (announced && announced->reads) {
            reads = std::move(announced->reads);
            sizing = announced->sizing;
        } else {
            reads = std::make_unique<ReadAhead>(*channel_, handle);
            sizing = channel_->Send(SSH_FXP_FSTAT, Message().String(handle));
            reads->Start();
        }
        Advance();
        bool answered = false;
        {
            WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
            answered = channel_->Wait(sizing, reply);
        }
        NamedAttributes attributes;
        if (answered && channel_->Expect(reply, SSH_FXP_ATTRS)) {
            Fields fields(reply.body);
            fields.Attributes(attributes);
            sizeKnown = fields.Valid() && (attributes.fields.flags & SSH_FILEXFER_ATTR_SIZE) != 0;
            expected = attributes.fields.size;
        }
        if (sizeKnown) {
            reads->SetExpected(expected);
        }
        std::string data;
        for (;;) {
            bool read = false;
            {
                WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
                read = reads->Next(data);
            }
            if (!read) {
                failure = reads->Changed() ? "Download of " + remotePath + " incomplete: the file grew while it was read"
                                          : "Cannot read " + remotePath + ": " + Reason();
                break;
            }
            if (data.empty()) {
                break;
            }
            if (!WriteAll(local, data.data(), data.size())) {
                failure = "Cannot write " + localPath + ": " + SystemError();
                break;
            }
            received += data.size();
            Advance();
        }
    }
    if (close(local) != 0 && failure.empty()) {
        failure = "Cannot write " + localPath + ": " + SystemError();
    }
    CloseHandle(handle);
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
    std::string remotePath;
    if (!Usable() || !RemotePath(remoteName, remotePath)) {
        return false;
    }
    const int local = open(localPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (local < 0) {
        return Fail("Cannot open " + localPath + ": " + SystemError());
    }
    Reply reply;
    if (!Ask(SSH_FXP_OPEN,
             Message().String(remotePath).U32(SSH_FXF_WRITE | SSH_FXF_CREAT | SSH_FXF_TRUNC).Permissions(0644),
             reply)
        || !channel_->Expect(reply, SSH_FXP_HANDLE)) {
        close(local);
        return Fail("Cannot create " + remotePath + ": " + Reason());
    }
    const std::string handle = Fields(reply.body).String();
    // Several blocks in flight; each answer is checked in turn.
    std::string failure;
    std::deque<uint32_t> writes;
    auto answered = [&] {
        WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
        const bool ok = channel_->Wait(writes.front(), reply) && channel_->Expect(reply, SSH_FXP_STATUS);
        writes.pop_front();
        return ok;
    };
    char block[kBlockSize];
    uint64_t offset = 0;
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
        writes.push_back(channel_->Send(
            SSH_FXP_WRITE, Message().String(handle).U64(offset).String(std::string(block, size_t(count)))));
        offset += uint64_t(count);
        if (writes.size() >= kWritesInFlight && !answered()) {
            failure = "Cannot write " + remotePath + ": " + Reason();
            break;
        }
    }
    close(local);
    while (failure.empty() && !writes.empty()) {
        if (!answered()) {
            failure = "Cannot write " + remotePath + ": " + Reason();
        }
    }
    for (const uint32_t write : writes) {
        channel_->Forget(write);
    }
    const bool closed = Ask(SSH_FXP_CLOSE, Message().String(handle), reply) && channel_->Expect(reply, SSH_FXP_STATUS);
    if (!closed && failure.empty()) {
        failure = "Cannot write " + remotePath + ": " + Reason();
    }
    return failure.empty() || Fail(failure);
}
