// The client of the FTP store. The object itself is the control connection; its data
// channel carries files and listings. Every command's reply is read, also after a failed
// data connection; when a reply cannot be told apart from another command's (none came
// in time, or a positive one of the wrong kind), the control connection is closed, so
// the commands after it fail at once and the next log-in starts afresh. The SFTP flag routes the same operations to the
// SFTP component, so callers need not care which protocol is in use.
#pragma once

#include "net/ftp_data_channel.h"
#include "net/ftp_dir_entry.h"
#include "net/tls_context.h"
#include "net/transfer_source.h"
#include "net/ws_client.h"

#include <memory>
#include <string>
#include <vector>

class SftpBinding;

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
    // when the server or component does not know the command.
    virtual int GetFileSize(const std::string& name, long long& size);
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
    void SetPassiveMode(int passive) { passive_ = passive; }
    int GetPassiveMode() const { return passive_; }
    int GetTransferType() const { return transferType_; }
    int GetTransferMode() const { return transferMode_; }
    int GetStructure() const { return structure_; }

    // Reads one reply of the control connection within the receive time-out and returns
    // its code, 0 when none came whole (the connection is then closed). Lines are read to
    // their end; of a long one the code and the start of the text are kept. The text
    // after the code of the final line goes to text when one is given.
    int ReadReply(std::string* text = nullptr);
    // The server's last reply line, or the SFTP component's last error text.
    const std::string& GetLastResponse() const { return lastResponse_; }

    // In SFTP mode the entries come from the component's listing lines one after the
    // other, whatever the index: each call hands out the next line.
    int GetDirEntryCount() const;
    int GetDirEntry(int index, FtpDirEntry& entry);
    void ClearDirectory();
    // The lines of the last listing that gave no entry, as the server sent them (without
    // line end; a line too long to be read whole ends in its first bytes).
    const std::vector<std::string>& SkippedListingLines() const { return skippedLines_; }

    // Set before Login.
    void SetControlPort(int port) { controlPort_ = port; }
    void SetConnectTimeout(int seconds) { connectTimeout_ = seconds; }
    void SetSftpMode(int sftp) { sftpMode_ = sftp; }
    int GetSftpMode() const { return sftpMode_; }
    void SetSftpPort(int port) { sftpPort_ = port; }
    void SetComponentFolder(const std::string& folder) { componentFolder_ = folder; }
    // With TLS required, the log-in secures the control connection before the user name
    // is sent, and every data connection with it; the certificate with the pinned SHA-256
    // fingerprint is trusted besides the system's authorities.
    void SetTls(int required, const std::string& pinnedFingerprint) { tls_.Require(required != 0, pinnedFingerprint); }
    // Why the last log-in failed, in German, where the code does not say it; and the
    // certificate it did not accept. Both empty when there is nothing to tell.
    std::string GetFailureReason() const { return tls_.RefusalText(); }
    const TlsCertificate& RefusedCertificate() const { return tls_.RefusedCertificate(); }
    // After an SFTP log-in: the fingerprint of the server's host key, and whether the
    // log-in recorded the key as new. False without an SFTP connection.
    bool SftpHostKey(std::string& fingerprint, bool& recorded) const;

    // The next local port offered for an active data connection (10000 to 32000).
    int GetDataPort() const { return dataPort_; }
    void SetDataPort(int port) { dataPort_ = port; }

private:
    enum class Transfer { Download, Upload, Listing };

    void SendCommand(const std::string& command);
    int CommandReply(const std::string& command, int low, int high);
    // Whether the code is in the expected range; a positive reply outside it belongs to
    // another command, and the connection is given up.
    bool Expected(int code, int low, int high);
    // Closes the control and data connections of a client whose replies got out of step.
    void LoseStep();
    int SetOption(const std::string& command, int low, int high, int value, int& stored);

    bool HasSftpConnection() const;
    // The result of a component call that failed with the given code, or succeeded.
    int SftpResult(bool succeeded, int failure);
    int SftpLogin(const std::string& host, const std::string& user, const std::string& password);
    // ftp_tls_commands.cpp: AUTH TLS, PBSZ 0 and PROT P on a new control connection when
    // TLS is required; UTE_SUCCESS at once when it is not.
    int StartTls(const std::string& host);

    // ftp_data_transfer.cpp
    int AnnouncePort(Transfer kind);
    int RequestPassive(Transfer kind, int& port);
    int AcceptData(int seconds);
    int ConnectData(int port);
    int Resume(TransferSource& source, int& mode);
    void DropTransferReply();
    // The data connection could not be made: the command's replies are read all the same.
    int FailedDataConnection(int result);
    int ReadListing(bool finalPending);
    int Download(TransferSource& source, const std::string& remoteName, bool passive, bool resume);
    int Upload(TransferSource& source, const std::string& remoteName, bool passive);
    int List(bool passive);
    int FinalListReply(bool finalPending);

    TlsContext tls_;
    FtpDataChannel dataChannel_;
    std::string lastResponse_;
    int transferType_ = 1;
    int transferMode_ = 0;
    int structure_ = 0;
    int dataPort_;
    int controlPort_ = 21;
    int connectTimeout_ = 5;
    int passive_ = 0;
    std::vector<std::string> responseLines_;
    std::vector<FtpDirEntry> entries_;
    std::vector<std::string> skippedLines_;
    // Each command before it is sent, and each reply or listing line received.
    std::string lineBuffer_;
    int sftpMode_ = 0;
    int sftpPort_ = 22;
    std::string componentFolder_;
    // Exists from a successful SFTP login to the logout.
    std::unique_ptr<SftpBinding> sftp_;
    // The raw lines of the last SFTP listing and the next one to hand out.
    std::vector<std::string> sftpListing_;
    size_t sftpCursor_ = 0;
};
