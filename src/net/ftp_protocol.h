// FTP over the socket client base: the owning client is the control connection, the data
// channel carries files and listings. Every command's reply is read, also after a failed
// data connection; when a reply cannot be told apart from another command's (none came
// in time, or a positive one of the wrong kind), the control connection is closed, so
// the commands after it fail at once and the next log-in starts afresh. With TLS
// required, the log-in secures the control connection before anything else is sent;
// TLS is a filter below the socket client, and every data connection gets it too.
#pragma once

#include "net/ftp_data_channel.h"
#include "net/ftp_reply_table.h"
#include "net/store_protocol.h"
#include "net/tls_context.h"
#include "net/transfer_source.h"

#include <functional>
#include <string>
#include <vector>

class FtpClient;

class FtpProtocol : public StoreProtocol {
public:
    explicit FtpProtocol(FtpClient& control);

    const char* Name() const override { return "FTP"; }
    int Login(const std::string& host, const std::string& user, const std::string& password,
              const std::string& account) override;
    int Logout() override;
    int GetFile(const std::string& remoteName, const std::string& localPath) override;
    int PutFile(const std::string& localPath, const std::string& remoteName) override;
    int ListDirectory() override { return List(passive_ != 0); }
    int GetDirEntryCount() const override { return static_cast<int>(entries_.size()); }
    int GetDirEntry(int index, FtpDirEntry& entry) override;
    const std::vector<std::string>& SkippedListingLines() const override { return skippedLines_; }
    int Rename(const std::string& oldName, const std::string& newName) override;
    int DeleteFile(const std::string& name) override;
    int GetFileSize(const std::string& name, long long& size) override;
    std::vector<StoreAnswer> GetFileSizes(const std::vector<std::string>& names) override;
    std::vector<StoreAnswer> DeleteFiles(const std::vector<std::string>& names) override;
    int GetCurrentDirectory(std::string& directory) override;
    int ChangeDirectory(const std::string& path) override;
    int ChangeDirectoryUp() override;
    int MakeDirectory(const std::string& name) override;
    int RemoveDirectory(const std::string& name) override;
    int Noop() override;
    int Help(const std::string& topic) override;
    int SetRepresentation(Representation setting, int value) override;
    // Its reply is read before the next command's.
    void SetRepresentationWithNext(Representation setting, int value) override { withNext_.push_back({setting, value}); }
    const std::string& LastResponse() const override { return lastResponse_; }
    StoreOutcome LastOutcome() const override { return lastOutcome_; }
    bool ConnectionLost() const override;
    // A refused TLS says it in its own words.
    std::string FailureReason(int code) const override;

    // The transfers of the FTP client alone (ftp_data_transfer.cpp): active, or passive
    // when asked; a resumed download continues a partial local source.
    int Download(TransferSource& source, const std::string& remoteName, bool passive, bool resume);
    int Upload(TransferSource& source, const std::string& remoteName, bool passive);
    int List(bool passive);

    // The greeting of a new control connection.
    int Greeting();
    int Quote(const std::string& commandLine);
    // Reads one reply of the control connection within the receive time-out and returns
    // its code, 0 when none came whole (the connection is then closed). Lines are read to
    // their end; of a long one the code and the start of the text are kept. The text
    // after the code of the final line goes to text when one is given.
    int ReadReply(std::string* text = nullptr);
    const std::vector<std::string>& ResponseLines() const { return responseLines_; }
    void ClearDirectory() { entries_.clear(); }
    void SetTransferLimits(int receiveTimeoutMs, int lowSpeedMs);

private:
    // The client keeps the settings of its FTP protocol.
    friend class FtpClient;
    enum class Transfer { Download, Upload, Listing };

    // Sends the command in one flight with the settings waiting for it, and reads their
    // replies.
    void SendCommand(const std::string& command);
    // Sends the commands, each with its line end, in one flight after the waiting settings.
    void SendFlight(const std::vector<std::string>& commands);
    // The command for each name in one flight, each reply read in turn by reply().
    std::vector<StoreAnswer> Flight(const std::string& verb, const std::vector<std::string>& names,
                                    const std::function<int(StoreAnswer&)>& reply);
    // The commands of the settings waiting for the next command, each with its line end.
    std::string WaitingLines() const;
    // The reply to a setting sent: the value is kept when the store took it.
    int RepresentationReply(Representation setting, int value);
    // The reply to a command of the fetch judged by the reply table: UTE_SUCCESS when Done,
    // UTE_NO_RESPONSE without a reply, else UTE_SVR_REQUEST_DENIED.
    int CommandResult(FtpCommand kind);
    // The reply to SIZE: its size when it tells one.
    int SizeReply(long long& size);
    // Sends the command, reads its reply and returns UTE_SUCCESS when the reply table
    // says Done, UTE_NO_RESPONSE without a reply, else UTE_SVR_REQUEST_DENIED.
    int CommandReply(FtpCommand kind, const std::string& command);
    // The outcome of the reply code to the command, kept as the last outcome; an Unknown
    // one gives up the connection.
    StoreOutcome Judge(FtpCommand kind, int code);
    // The first reply of a transfer command: true when the transfer goes on (1xx or 2xx).
    bool Proceeds(FtpCommand kind, int code);
    // The final reply of a transfer command; a further preliminary one is out of step.
    StoreOutcome Final(FtpCommand kind, int code);
    // Whether the code is in the expected range; a positive reply outside it belongs to
    // another command, and the connection is given up.
    bool Expected(int code, int low, int high);
    // Closes the control and data connections of a client whose replies got out of step.
    void LoseStep();
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
    int FinalListReply(bool finalPending);

    FtpClient& control_;
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
    StoreOutcome lastOutcome_ = StoreOutcome::Unknown;
    std::vector<std::string> responseLines_;
    std::vector<std::pair<Representation, int>> withNext_;
    std::vector<FtpDirEntry> entries_;
    std::vector<std::string> skippedLines_;
    // Each command before it is sent, and each reply or listing line received.
    std::string lineBuffer_;
};
