#include "sftp_channel.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace {

// What the channel may hold unread: the window the server may fill before it has to
// wait. It covers the reads in flight with room to spare.
constexpr size_t kWindow = 8u << 20;
// The longest packet taken from a server (OpenSSH sends at most 256 KiB).
constexpr uint32_t kLongestPacket = 1u << 20;
constexpr uint32_t kVersion = 3;
// libssh's wait without end: the connection's watchdog bounds every wait.
constexpr int kNoTimeOut = -1;
// The answer to the version exchange, which carries no id.
constexpr uint32_t kVersionId = 0;

uint32_t BigEndian32(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]);
}

// The third and fourth field of an "ls -l" line: its owner and group.
std::string LongNameField(const std::string& longName, int wanted)
{
    size_t at = 0;
    for (int field = 0; field <= wanted; ++field) {
        at = longName.find_first_not_of(' ', at);
        if (at == std::string::npos) {
            return "";
        }
        const size_t end = std::min(longName.find(' ', at), longName.size());
        if (field == wanted) {
            return longName.substr(at, end - at);
        }
        at = end;
    }
    return "";
}

}  // namespace

Message& Message::U32(uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes_.push_back(char(value >> shift));
    }
    return *this;
}

Message& Message::U64(uint64_t value)
{
    return U32(uint32_t(value >> 32)).U32(uint32_t(value));
}

Message& Message::String(const std::string& text)
{
    U32(uint32_t(text.size()));
    bytes_ += text;
    return *this;
}

Message& Message::Permissions(uint32_t mode)
{
    return U32(SSH_FILEXFER_ATTR_PERMISSIONS).U32(mode);
}

const sftp_attributes_struct& NamedAttributes::Attributes()
{
    fields.name = name.data();
    fields.longname = longName.empty() ? nullptr : longName.data();
    fields.owner = owner.empty() ? nullptr : owner.data();
    fields.group = group.empty() ? nullptr : group.data();
    return fields;
}

bool NamedAttributes::IsDirectory() const
{
    return fields.type == SSH_FILEXFER_TYPE_DIRECTORY;
}

bool NamedAttributes::IsRegular() const
{
    return fields.type == SSH_FILEXFER_TYPE_REGULAR;
}

bool Fields::Take(size_t count)
{
    if (!valid_ || bytes_.size() - at_ < count) {
        valid_ = false;
        return false;
    }
    at_ += count;
    return true;
}

uint32_t Fields::U32()
{
    return Take(4) ? BigEndian32(bytes_.data() + at_ - 4) : 0;
}

uint64_t Fields::U64()
{
    const uint64_t high = U32();
    return high << 32 | U32();
}

std::string Fields::String()
{
    const uint32_t length = U32();
    return Take(length) ? bytes_.substr(at_ - length, length) : std::string();
}

void Fields::Attributes(NamedAttributes& entry)
{
    sftp_attributes_struct& a = entry.fields;
    a.flags = U32();
    if (a.flags & SSH_FILEXFER_ATTR_SIZE) {
        a.size = U64();
    }
    if (a.flags & SSH_FILEXFER_ATTR_UIDGID) {
        a.uid = U32();
        a.gid = U32();
    }
    if (a.flags & SSH_FILEXFER_ATTR_PERMISSIONS) {
        a.permissions = U32();
    }
    if (a.flags & SSH_FILEXFER_ATTR_ACMODTIME) {
        a.atime = U32();
        a.mtime = U32();
    }
    if (a.flags & SSH_FILEXFER_ATTR_EXTENDED) {
        for (uint32_t count = U32(); count > 0 && Valid(); --count) {
            String();
            String();
        }
    }
    a.type = SSH_FILEXFER_TYPE_UNKNOWN;
    if (a.flags & SSH_FILEXFER_ATTR_PERMISSIONS) {
        switch (a.permissions & S_IFMT) {
        case S_IFREG: a.type = SSH_FILEXFER_TYPE_REGULAR; break;
        case S_IFDIR: a.type = SSH_FILEXFER_TYPE_DIRECTORY; break;
        case S_IFLNK: a.type = SSH_FILEXFER_TYPE_SYMLINK; break;
        default: a.type = SSH_FILEXFER_TYPE_SPECIAL; break;
        }
    }
    // Version 3 sends owner and group by name only in the long name.
    entry.owner = LongNameField(entry.longName, 2);
    entry.group = LongNameField(entry.longName, 3);
}

SftpChannel::~SftpChannel()
{
    if (channel_ != nullptr) {
        ssh_channel_free(channel_);
    }
}

bool SftpChannel::Fail(const std::string& text)
{
    if (failure_.empty()) {
        failure_ = text;
    }
    return false;
}

bool SftpChannel::Start(ssh_session session)
{
    session_ = session;
    channel_ = ssh_channel_new(session);
    if (channel_ == nullptr || ssh_channel_open_session(channel_) != SSH_OK) {
        return Fail(std::string("no session channel: ") + ssh_get_error(session));
    }
    if (ssh_channel_request_subsystem(channel_, "sftp") != SSH_OK) {
        return Fail(std::string("the subsystem sftp was refused: ") + ssh_get_error(session));
    }
    outgoing_ = Message().U32(5).Bytes();
    outgoing_.push_back(char(SSH_FXP_INIT));
    outgoing_ += Message().U32(kVersion).Bytes();
    Reply version;
    if (!Wait(kVersionId, version)) {
        return false;
    }
    Fields fields(version.body);
    if (fields.U32() != kVersion) {
        return Fail("the server does not speak SFTP version 3");
    }
    return true;
}

uint32_t SftpChannel::Send(uint8_t type, const Message& body)
{
    const uint32_t id = nextId_++;
    outgoing_ += Message().U32(uint32_t(1 + 4 + body.Bytes().size())).Bytes();
    outgoing_.push_back(char(type));
    outgoing_ += Message().U32(id).Bytes();
    outgoing_ += body.Bytes();
    return id;
}

bool SftpChannel::Flush()
{
    if (!failure_.empty()) {
        return false;
    }
    size_t sent = 0;
    while (sent < outgoing_.size()) {
        const int written = ssh_channel_write(channel_, outgoing_.data() + sent,
                                              uint32_t(outgoing_.size() - sent));
        if (written <= 0) {
            outgoing_.clear();
            return Fail(std::string("connection lost: ") + ssh_get_error(session_));
        }
        sent += size_t(written);
    }
    outgoing_.clear();
    return true;
}

bool SftpChannel::Wait(uint32_t id, Reply& reply)
{
    if (!Flush()) {
        return false;
    }
    for (;;) {
        if (Take(id, reply)) {
            return true;
        }
        if (!Receive()) {
            return false;
        }
    }
}

bool SftpChannel::Take(uint32_t id, Reply& reply)
{
    auto answer = answers_.find(id);
    if (answer == answers_.end()) {
        return false;
    }
    reply = std::move(answer->second);
    answers_.erase(answer);
    return true;
}

void SftpChannel::Forget(uint32_t id)
{
    if (answers_.erase(id) == 0) {
        forgotten_.insert(id);
    }
}

void SftpChannel::ForgetOpen(uint32_t id)
{
    Reply opened;
    if (Take(id, opened)) {
        CloseHandleOf(opened);
    } else {
        forgottenOpens_.insert(id);
    }
}

void SftpChannel::CloseHandleOf(const Reply& opened)
{
    // The close goes out with the next flight.
    if (opened.type == SSH_FXP_HANDLE) {
        Forget(Send(SSH_FXP_CLOSE, Message().String(Fields(opened.body).String())));
    }
}

bool SftpChannel::Expect(const Reply& reply, uint8_t type)
{
    if (reply.type == type && type != SSH_FXP_STATUS) {
        return true;
    }
    const int status = Status(reply);
    if (type == SSH_FXP_STATUS) {
        return status == SSH_FX_OK;
    }
    if (status == SSH_FX_OK) {
        lastStatus_ = SSH_FX_BAD_MESSAGE;
    }
    return false;
}

int SftpChannel::Status(const Reply& reply)
{
    Fields fields(reply.body);
    const uint32_t status = fields.U32();
    const int code = reply.type == SSH_FXP_STATUS && fields.Valid() ? int(status) : SSH_FX_BAD_MESSAGE;
    if (code != SSH_FX_OK) {
        lastStatus_ = code;
    }
    return code;
}

// Reads what the channel holds, at least one byte. libssh keeps the window the server
// may fill at what a read asks for: asking for the whole window opens it again, which
// is done once half of it was read, so that not every read sends a window adjustment.
bool SftpChannel::Receive()
{
    if (begin_ > 0) {
        std::memmove(incoming_.data(), incoming_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (incoming_.size() < end_ + kWindow) {
        incoming_.resize(end_ + kWindow);
    }
    const size_t asked = readSinceOpened_ >= kWindow / 2 ? kWindow : kWindow - readSinceOpened_;
    if (asked == kWindow) {
        readSinceOpened_ = 0;
    }
    const int count = ssh_channel_read_timeout(channel_, incoming_.data() + end_, uint32_t(asked), 0,
                                               kNoTimeOut);
    if (count < 0) {
        return Fail(std::string("connection lost: ") + ssh_get_error(session_));
    }
    if (count == 0) {
        return Fail(ssh_channel_is_eof(channel_) ? "the server closed the SFTP channel"
                                                 : std::string("connection lost: ") + ssh_get_error(session_));
    }
    end_ += size_t(count);
    readSinceOpened_ += size_t(count);
    return TakePackets();
}

bool SftpChannel::TakePackets()
{
    while (end_ - begin_ >= 4) {
        const char* packet = incoming_.data() + begin_;
        const uint32_t length = BigEndian32(packet);
        if (length < 1 || length > kLongestPacket) {
            lastStatus_ = SSH_FX_BAD_MESSAGE;
            return Fail("the server sent a packet of " + std::to_string(length) + " bytes");
        }
        if (end_ - begin_ < 4 + size_t(length)) {
            break;
        }
        const uint8_t type = uint8_t(packet[4]);
        uint32_t id = kVersionId;
        size_t head = 5;
        if (type != SSH_FXP_VERSION) {
            if (length < 5) {
                lastStatus_ = SSH_FX_BAD_MESSAGE;
                return Fail("the server sent an answer without an id");
            }
            id = BigEndian32(packet + 5);
            head = 9;
        }
        begin_ += 4 + size_t(length);
        if (forgottenOpens_.erase(id) != 0) {
            CloseHandleOf(Reply{type, std::string(packet + head, packet + 4 + length)});
        } else if (forgotten_.erase(id) == 0) {
            answers_[id] = Reply{type, std::string(packet + head, packet + 4 + length)};
        }
    }
    return true;
}
