// One SFTP connection: the SSH session, its SFTP channel, the current directory and the
// text of the last failure. Every call that waits on the server is bounded.
#pragma once

#include <libssh/libssh.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "read_ahead.h"
#include "sftp_channel.h"
#include "watchdog.h"

struct Timeouts {
    int connectSeconds = 15;  // connect, key exchange, log-in and start of SFTP
    int ioSeconds = 30;       // each request, and each block of a transfer
};

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Connects, checks the host key, logs in with the password, records a new host key
    // and starts SFTP in the user's start directory.
    bool Open(const std::string& host, int port, const std::string& user,
              const std::string& password, const Timeouts& timeouts);
    void Close();
    const std::string& LastError() const { return lastError_; }
    // The server's host key fingerprint, and whether this connection recorded the key.
    const std::string& HostKeyFingerprint() const { return fingerprint_; }
    bool HostKeyRecorded() const { return keyRecorded_; }

    // The current directory; the start directory is asked for at log-in and waited for
    // only when it is needed.
    bool CurrentDirectory(std::string& directory);
    bool ChangeDirectory(const std::string& path);
    // The entries of the current directory without "." and "..", sorted by name.
    bool List(std::vector<std::string>& lines);
    // Writes exactly the bytes read; a failed download removes the local file.
    bool Get(const std::string& localPath, const std::string& remoteName);
    bool Put(const std::string& localPath, const std::string& remoteName);
    bool MakeDirectory(const std::string& name);
    bool RemoveDirectory(const std::string& name);
    bool Delete(const std::string& name);
    // The size of a regular file now.
    bool Size(const std::string& name, int64_t& size);
    bool Rename(const std::string& oldName, const std::string& newName);
    // Several files at once, the requests in one flight: the size of each regular file
    // (-1 where the server told none), and the deletion of each (1 removed, 0 refused,
    // -1 unanswered) with the text of each failure. False when the connection failed.
    bool Sizes(const std::vector<std::string>& names, std::vector<int64_t>& sizes);
    bool Delete(const std::vector<std::string>& names, std::vector<int>& results,
                std::vector<std::string>& failures);
    // Announces files that later gets download, in their order: each is opened and its
    // first reads sent with the requests of the calls in between. A get of an announced
    // file takes what came for it and drops the files announced before it; a listing
    // drops them all.
    bool GetAhead(const std::vector<std::string>& names);
    // Announces a folder a later change goes into: resolved, checked and opened with the
    // requests of the calls in between. A change into an announced folder takes what came
    // for it and drops the folders announced before it.
    bool ChangeDirectoryAhead(const std::string& path);
    // Records a failure the caller found; the time-out text wins when one struck.
    bool Fail(const std::string& text);

private:
    // A file announced for a later get: its open, then its size and first reads.
    struct AnnouncedFile {
        std::string path;
        uint32_t opening = 0;  // until its answer is taken into `opened`
        Reply opened;
        std::string handle;
        uint32_t sizing = 0;
        std::unique_ptr<ReadAhead> reads;
    };
    struct AnnouncedFolder {
        std::string path;
        uint32_t resolving = 0;
        uint32_t checking = 0;
        uint32_t opening = 0;
    };
    // At most this many files and folders are announced at a time.
    static constexpr size_t kAnnounced = 8;

    // The announced file of the path, taken out with the files announced before it
    // dropped; none when it was not announced.
    std::optional<AnnouncedFile> TakeAnnounced(const std::string& path);
    // Sends the size and first reads of each announced file whose open was answered.
    void Advance();
    void Release(AnnouncedFile& file);
    void DropAnnounced();
    // The requests of a change into the folder: announced ones, or sent now.
    AnnouncedFolder FolderRequests(const std::string& path);
    // The path of a name; false when a relative one meets an unknown start directory.
    bool RemotePath(const std::string& name, std::string& path);
    bool KnowStartDirectory();
    // Sends a request and waits for its answer, bounded by the time-out.
    bool Ask(uint8_t type, const Message& body, Reply& reply);
    // Closes a remote handle without waiting for the answer.
    void CloseHandle(const std::string& handle);
    // Why the last request failed, in words.
    std::string Reason() const;
    bool Usable();

    ssh_session session_ = nullptr;
    std::unique_ptr<SftpChannel> channel_;
    uint32_t startDirectoryRequest_ = 0;
    // A directory opened by the last change into it, for the listing that follows.
    std::string openedDirectory_;
    std::string openedHandle_;
    std::deque<AnnouncedFile> announcedFiles_;
    std::deque<AnnouncedFolder> announcedFolders_;
    std::unique_ptr<Watchdog> watchdog_;
    Timeouts timeouts_;
    std::string server_;
    std::string directory_;
    std::string lastError_;
    std::string fingerprint_;
    bool keyRecorded_ = false;
};
