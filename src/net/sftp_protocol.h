// SFTP over the component binding: the component exists from a successful log-in to the
// log-out. Its answers are done or failed; after a failure the protocol asks once more to
// tell a refusal from a lost session (sftp_answer_table.h).
#pragma once

#include "net/sftp_answer_table.h"
#include "net/store_protocol.h"

#include <memory>
#include <string>
#include <vector>

class CUT_WSClient;
class SftpBinding;

class SftpProtocol : public StoreProtocol {
public:
    // The client's receive progress hook hears of every download.
    explicit SftpProtocol(CUT_WSClient& client);
    ~SftpProtocol() override;

    void SetComponentFolder(const std::string& folder) { componentFolder_ = folder; }
    void SetPort(int port) { port_ = port; }
    // After a log-in: the fingerprint of the server's host key, and whether the log-in
    // recorded the key as new. False without a connection.
    bool HostKey(std::string& fingerprint, bool& recorded) const;

    const char* Name() const override { return "SFTP"; }
    int Login(const std::string& host, const std::string& user, const std::string& password,
              const std::string& account) override;
    int Logout() override;
    // The component tells no progress: the whole size is heard once the download ends.
    int GetFile(const std::string& remoteName, const std::string& localPath) override;
    int PutFile(const std::string& localPath, const std::string& remoteName) override;
    int ListDirectory() override;
    int GetDirEntryCount() const override { return static_cast<int>(listing_.size()); }
    // The entries come from the listing lines one after the other, whatever the index:
    // each call hands out the next line.
    int GetDirEntry(int index, FtpDirEntry& entry) override;
    const std::vector<std::string>& SkippedListingLines() const override { return noLines_; }
    int Rename(const std::string& oldName, const std::string& newName) override;
    int DeleteFile(const std::string& name) override;
    int GetFileSize(const std::string& name, long long& size) override;
    // In one flight each, where the component can; else one file after the other. A
    // refused deletion counts as a refusal only while the file is still there.
    std::vector<StoreAnswer> GetFileSizes(const std::vector<std::string>& names) override;
    std::vector<StoreAnswer> DeleteFiles(const std::vector<std::string>& names) override;
    void GetFilesAhead(const std::vector<std::string>& names) override;
    void ChangeDirectoryAhead(const std::string& path) override;
    int GetCurrentDirectory(std::string& directory) override;
    int ChangeDirectory(const std::string& path) override;
    int ChangeDirectoryUp() override;
    int MakeDirectory(const std::string& name) override;
    int RemoveDirectory(const std::string& name) override;
    int Noop() override;
    int Help(const std::string& topic) override;
    int SetRepresentation(Representation setting, int value) override;
    const std::string& LastResponse() const override { return lastResponse_; }
    StoreOutcome LastOutcome() const override { return lastOutcome_; }
    bool ConnectionLost() const override;
    // The component's text says it, where the binding knows the text.
    std::string FailureReason(int code) const override;

private:
    bool Connected() const;
    // The answer the last single call left.
    StoreAnswer LastAnswer(int code, long long size = 0) const
    {
        return {code, lastOutcome_, lastResponse_, size, FailureReason(code)};
    }
    // The result of a component call that failed with the given code, or succeeded; a
    // failure asks the component once more whether the session is up and, for a
    // deletion, whether the file of that name is still there.
    int Result(SftpCall call, bool succeeded, int failure, const std::string& name = "");

    CUT_WSClient& client_;
    std::string componentFolder_;
    int port_ = 22;
    std::unique_ptr<SftpBinding> binding_;
    std::string lastResponse_;
    StoreOutcome lastOutcome_ = StoreOutcome::Unknown;
    bool lost_ = false;
    // The raw lines of the last listing and the next one to hand out.
    std::vector<std::string> listing_;
    size_t cursor_ = 0;
    const std::vector<std::string> noLines_;
};
