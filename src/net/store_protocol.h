// One kind of store behind FtpClient: FTP over the socket client base, or SFTP over the
// component binding. A protocol does the client's work in its own terms, returns result
// codes, and maps its own answers to outcomes (store_outcome.h); nothing above it asks
// which protocol is in use.
#pragma once

#include "net/ftp_dir_entry.h"
#include "net/store_outcome.h"

#include <string>
#include <vector>

// The answer to one of several requests sent together: its result code, what it meant,
// the store's words about it, the size where one was asked and told, and the line that
// says why it failed.
struct StoreAnswer {
    int code = 0;
    StoreOutcome outcome = StoreOutcome::Unknown;
    std::string response;
    long long size = 0;
    std::string reason{};
};

class StoreProtocol {
public:
    virtual ~StoreProtocol() = default;

    // As captions and reports name it: "FTP" or "SFTP".
    virtual const char* Name() const = 0;

    virtual int Login(const std::string& host, const std::string& user, const std::string& password,
                      const std::string& account) = 0;
    virtual int Logout() = 0;
    // Downloads move the client's receive progress: as the bytes come, or, where the
    // protocol cannot tell them, once at the end.
    virtual int GetFile(const std::string& remoteName, const std::string& localPath) = 0;
    virtual int PutFile(const std::string& localPath, const std::string& remoteName) = 0;
    virtual int ListDirectory() = 0;
    virtual int GetDirEntryCount() const = 0;
    virtual int GetDirEntry(int index, FtpDirEntry& entry) = 0;
    // The lines of the last listing that gave no entry.
    virtual const std::vector<std::string>& SkippedListingLines() const = 0;
    virtual int Rename(const std::string& oldName, const std::string& newName) = 0;
    virtual int DeleteFile(const std::string& name) = 0;
    virtual int GetFileSize(const std::string& name, long long& size) = 0;
    // Sizes and deletions of several files, the requests in one flight where the protocol
    // allows it, each answered as GetFileSize and DeleteFile answer it.
    virtual std::vector<StoreAnswer> GetFileSizes(const std::vector<std::string>& names) = 0;
    virtual std::vector<StoreAnswer> DeleteFiles(const std::vector<std::string>& names) = 0;
    // What later calls will ask for, so that the protocol can send it with the requests of
    // the calls in between: the files the next downloads fetch after the one in hand, or
    // the folder of the next change. Announced files not fetched go with the next listing.
    virtual void GetFilesAhead(const std::vector<std::string>&) {}
    virtual void ChangeDirectoryAhead(const std::string&) {}
    virtual int GetCurrentDirectory(std::string& directory) = 0;
    virtual int ChangeDirectory(const std::string& path) = 0;
    virtual int ChangeDirectoryUp() = 0;
    virtual int MakeDirectory(const std::string& name) = 0;
    virtual int RemoveDirectory(const std::string& name) = 0;
    virtual int Noop() = 0;
    virtual int Help(const std::string& topic) = 0;
    // TYPE, MODE or STRU with a value already checked; a protocol without them takes any.
    enum class Representation { Type, Mode, Structure };
    virtual int SetRepresentation(Representation setting, int value) = 0;
    // The same sent with the next command, in its flight: its result only decides whether
    // the value is kept.
    virtual void SetRepresentationWithNext(Representation, int) {}

    // The store's last words: its last reply line, or the component's error text.
    virtual const std::string& LastResponse() const = 0;
    virtual StoreOutcome LastOutcome() const = 0;
    // Only a new log-in helps.
    virtual bool ConnectionLost() const = 0;
    // Why the call that gave this result code failed, as one German line for the user
    // (failure_reason.h); empty for a success.
    virtual std::string FailureReason(int code) const = 0;
};
