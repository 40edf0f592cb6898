// The client of the store. The object itself is the control connection of FTP; behind
// its operations one protocol object does the work, FTP (ftp_protocol.h) or, with the
// SFTP flag set, SFTP (sftp_protocol.h), so callers need not care which one is in use.
#pragma once

#include "net/ftp_dir_entry.h"
#include "net/ftp_protocol.h"
#include "net/sftp_protocol.h"
#include "net/transfer_source.h"
#include "net/ws_client.h"

#include <string>
#include <vector>

class FtpClient : public CUT_WSClient {
public:
    FtpClient();
    ~FtpClient() override;

    // Data transfers. The forms without "Passive" in their name are active, or passive
    // when the passive flag is set.
    virtual int PutFileFromName(const std::string& localPath, const std::string& remoteName);
    virtual int PutPassive(TransferSource& source, const std::string& remoteName);
    virtual int GetFileToName(const std::string& remoteName, const std::string& localPath);
    virtual int GetPassive(TransferSource& source, const std::string& remoteName);
    virtual int ResumePassive(TransferSource& source, const std::string& remoteName);
    virtual int ListPassive();

    virtual int Login(const std::string& host, const std::string& user, const std::string& password,
                      const std::string& account = "");
    virtual int Logout();
    virtual int GetFile(const std::string& remoteName, const std::string& localPath);
    virtual int GetToSource(TransferSource& source, const std::string& remoteName);
    // Continues a partial local file where it ends.
    virtual int ResumeFile(const std::string& remoteName, const std::string& localPath);
    virtual int ResumeToSource(TransferSource& source, const std::string& remoteName);
    virtual int PutFile(const std::string& localPath, const std::string& remoteName);
    virtual int PutFromSource(TransferSource& source, const std::string& remoteName);
    virtual int Rename(const std::string& oldName, const std::string& newName);
    virtual int DeleteFile(const std::string& name);
    // The size of a file now (SIZE, or the SFTP component's size of it); UTE_SVR_NOT_SUPPORTED
    // when the server or component does not know the command. A size is known only after
    // UTE_SUCCESS; every other result means the store did not tell it.
    virtual int GetFileSize(const std::string& name, long long& size);
    // Sizes and deletions of several files, the requests in one flight where the protocol
    // allows it; each answer as GetFileSize and DeleteFile with LastOutcome give it.
    std::vector<StoreAnswer> GetFileSizes(const std::vector<std::string>& names);
    std::vector<StoreAnswer> DeleteFiles(const std::vector<std::string>& names);
    // What later calls will ask for, so that a store far away can start on it in the
    // flight of the calls in between: the files the next downloads fetch after the one in
    // hand, or the folder of the next change. Announced files not fetched go with the next
    // listing.
    void GetFilesAhead(const std::vector<std::string>& names) { protocol_->GetFilesAhead(names); }
    void ChangeDirectoryAhead(const std::string& path) { protocol_->ChangeDirectoryAhead(path); }
    virtual int GetCurrentDirectory(std::string& directory);
    virtual int ChangeDirectory(const std::string& path);
    virtual int ChangeDirectoryUp();
    virtual int MakeDirectory(const std::string& name);
    virtual int RemoveDirectory(const std::string& name);
    virtual int Noop();
    virtual int ListDirectory();
    // The help text ends up in the response lines.
    virtual int Help(const std::string& topic);
    // Sends a raw command and reads one reply; any reply code is success.
    virtual int Quote(const std::string& commandLine);
    virtual int GetResponseLineCount() const;
    // Empty for an index outside the response lines.
    virtual std::string GetResponseLine(int index) const;

    // Reads the server's greeting.
    int OnConnected(SocketHandle socket, const std::string& hostText) override;

    int SetTransferType(int type);            // 0 ASCII, 1 image
    int SetTransferMode(int mode);            // 0 stream, 1 block, 2 compressed
    int SetStructure(int structure);          // 0 file, 1 record, 2 page
    // The transfer type sent with the next command, in its flight: one round trip less.
    void SetTransferTypeWithNext(int type);
    void SetPassiveMode(int passive) { ftp_.passive_ = passive; }
    int GetPassiveMode() const { return ftp_.passive_; }
    int GetTransferType() const { return ftp_.transferType_; }
    int GetTransferMode() const { return ftp_.transferMode_; }
    int GetStructure() const { return ftp_.structure_; }

    // Reads one reply of the control connection within the receive time-out and returns
    // its code, 0 when none came whole (the connection is then closed). Lines are read to
    // their end; of a long one the code and the start of the text are kept. The text
    // after the code of the final line goes to text when one is given.
    int ReadReply(std::string* text = nullptr) { return ftp_.ReadReply(text); }
    // The server's last reply line, or the SFTP component's last error text.
    const std::string& GetLastResponse() const { return protocol_->LastResponse(); }
    // What the store's answer to the last command of a fetch meant (the reply tables):
    // after DeleteFile, Done is a deletion, Refused a definite refusal, Unknown neither.
    StoreOutcome LastOutcome() const { return protocol_->LastOutcome(); }
    // The connection is gone: closed after a reply out of step or none, or an SFTP
    // session found dead after a failed call. Only a new log-in helps.
    bool ConnectionLost() const { return protocol_->ConnectionLost(); }
    // The protocol in use as a caption names it: "FTP" or "SFTP".
    const char* ProtocolName() const { return protocol_->Name(); }

    // In SFTP mode the entries come from the component's listing lines one after the
    // other, whatever the index: each call hands out the next line.
    int GetDirEntryCount() const { return protocol_->GetDirEntryCount(); }
    int GetDirEntry(int index, FtpDirEntry& entry);
    void ClearDirectory() { ftp_.ClearDirectory(); }
    // The lines of the last listing that gave no entry, as the server sent them (without
    // line end; a line too long to be read whole ends in its first bytes).
    const std::vector<std::string>& SkippedListingLines() const { return protocol_->SkippedListingLines(); }

    // Set before Login.
    void SetControlPort(int port) { ftp_.controlPort_ = port; }
    // The receive time-out of the control and the data connections, and the window in
    // which a transfer must move at least its low-speed bytes.
    void SetTransferLimits(int receiveTimeoutMs, int lowSpeedMs);
    void SetConnectTimeout(int seconds) { ftp_.connectTimeout_ = seconds; }
    void SetSftpMode(int sftp)
    {
        protocol_ = sftp ? static_cast<StoreProtocol*>(&sftp_) : &ftp_;
    }
    int GetSftpMode() const { return protocol_ == &sftp_; }
    void SetSftpPort(int port) { sftp_.SetPort(port); }
    void SetComponentFolder(const std::string& folder) { sftp_.SetComponentFolder(folder); }
    // With TLS required, an FTP log-in secures the control connection before the user
    // name is sent, and every data connection with it; the certificate with the pinned
    // SHA-256 fingerprint is trusted besides the system's authorities.
    void SetTls(int required, const std::string& pinnedFingerprint)
    {
        ftp_.tls_.Require(required != 0, pinnedFingerprint);
    }
    // Why the call that gave this result code failed, as one German line for the user;
    // and the certificate a log-in did not accept, empty when there is none.
    std::string GetFailureReason(int code) const { return protocol_->FailureReason(code); }
    const TlsCertificate& RefusedCertificate() const { return ftp_.tls_.RefusedCertificate(); }
    // After an SFTP log-in: the fingerprint of the server's host key, and whether the
    // log-in recorded the key as new. False without an SFTP connection.
    bool SftpHostKey(std::string& fingerprint, bool& recorded) const { return sftp_.HostKey(fingerprint, recorded); }

    // The next local port offered for an active data connection (10000 to 32000).
    int GetDataPort() const { return ftp_.dataPort_; }
    void SetDataPort(int port) { ftp_.dataPort_ = port; }

private:
    // The protocol reaches the control connection's own calls.
    friend class FtpProtocol;

    FtpProtocol ftp_;
    SftpProtocol sftp_;
    StoreProtocol* protocol_ = &ftp_;
};
