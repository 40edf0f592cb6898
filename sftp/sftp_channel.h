// The SFTP protocol (version 3) spoken by the component itself on an SSH channel of
// libssh: requests are queued and go out together, several may be in flight, and each
// answer is matched to its request by id. The channel's window is kept as large as the
// reads in flight need, so a store far away fills the line.
#pragma once

#include <libssh/libssh.h>
#include <libssh/sftp.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

// The body of a request after its id, built field by field.
class Message {
public:
    Message& U32(uint32_t value);
    Message& U64(uint64_t value);
    Message& String(const std::string& text);
    // Attributes that carry only the permissions.
    Message& Permissions(uint32_t mode);
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

// One answer of the server: its type and the bytes after the request id.
struct Reply {
    uint8_t type = 0;
    std::string body;
};

// A name with its attributes, as READDIR and the attribute answers deliver them. The
// text fields of `attributes` stay empty: Attributes() points them at the strings.
struct NamedAttributes {
    std::string name;
    std::string longName;
    std::string owner;
    std::string group;
    sftp_attributes_struct fields{};

    const sftp_attributes_struct& Attributes();
    bool IsDirectory() const;
    bool IsRegular() const;
};

// Reads the fields of an answer in order; reading past its end makes it invalid.
class Fields {
public:
    explicit Fields(const std::string& bytes) : bytes_(bytes) {}
    uint32_t U32();
    uint64_t U64();
    std::string String();
    void Attributes(NamedAttributes& entry);
    bool Valid() const { return valid_; }

private:
    bool Take(size_t count);

    const std::string& bytes_;
    size_t at_ = 0;
    bool valid_ = true;
};

class SftpChannel {
public:
    SftpChannel() = default;
    ~SftpChannel();
    SftpChannel(const SftpChannel&) = delete;
    SftpChannel& operator=(const SftpChannel&) = delete;

    // Opens a session channel on the logged-in session, starts the subsystem "sftp" and
    // agrees on version 3. On failure Failure() says why.
    bool Start(ssh_session session);
    // Queues a request; it goes out with the next Flush or Wait. Its id.
    uint32_t Send(uint8_t type, const Message& body);
    bool Flush();
    // Waits for the answer to a request; false when the connection failed.
    bool Wait(uint32_t id, Reply& reply);
    // The answer is not wanted: it is dropped when it comes.
    void Forget(uint32_t id);
    // The answer to an open is not wanted: the handle it brings is closed when it comes.
    void ForgetOpen(uint32_t id);
    // Takes the answer when it came already; neither sends nor waits.
    bool Take(uint32_t id, Reply& reply);

    // Checks an answer of the expected type; a status answer instead is remembered as
    // the reason of the failure. SSH_FXP_STATUS expects the status OK.
    bool Expect(const Reply& reply, uint8_t type);
    // The status a status answer carries, remembered when it is not OK; SSH_FX_BAD_MESSAGE
    // for any other answer.
    int Status(const Reply& reply);
    // The status of the last failed answer (SSH_FX_OK when none failed).
    int LastStatus() const { return lastStatus_; }
    // Why the channel failed, when the failure was the channel's own: empty otherwise.
    const std::string& Failure() const { return failure_; }

private:
    bool Receive();
    bool TakePackets();
    void CloseHandleOf(const Reply& opened);
    bool Fail(const std::string& text);

    ssh_session session_ = nullptr;
    ssh_channel channel_ = nullptr;
    std::string outgoing_;
    std::vector<char> incoming_;
    size_t begin_ = 0;
    size_t end_ = 0;
    // Bytes read since the window was last opened to its whole size.
    size_t readSinceOpened_ = 0;
    uint32_t nextId_ = 1;
    std::map<uint32_t, Reply> answers_;
    std::set<uint32_t> forgotten_;
    std::set<uint32_t> forgottenOpens_;
    int lastStatus_ = SSH_FX_OK;
    std::string failure_;
};
