#include "net/ftp_client.h"

#include "net/ftp_reply_line.h"
#include "net/result_codes.h"
#include "net/sftp_binding.h"
#include "net/sftp_listing_line.h"

#include <cstdlib>
#include <ctime>

namespace {

// Of a longer reply line the rest is dropped.
constexpr size_t kReplyLineKept = 260;
constexpr size_t kLastResponseLength = 259;
// More lines than any server's reply holds: a reply that goes on beyond them would hold
// the client for as long as the server keeps sending, so it counts as no reply.
constexpr size_t kMaxReplyLines = 10000;

int MillisecondsSinceStart()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<int>((now.tv_sec % 1000000) * 1000 + now.tv_nsec / 1000000);
}

bool InRange(int code, int low, int high)
{
    return code >= low && code <= high;
}

// The text cut to the length of the last response, never inside a UTF-8 character.
std::string CutToResponseLength(const std::string& text)
{
    if (text.size() <= kLastResponseLength)
        return text;
    size_t end = kLastResponseLength;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

}  // namespace

FtpClient::FtpClient() : dataChannel_(*this), dataPort_(MillisecondsSinceStart() % 20000 + 10000)
{
}

FtpClient::~FtpClient()
{
    ClearDirectory();
    Logout();
}

void FtpClient::SetTransferLimits(int receiveTimeoutMs, int lowSpeedMs)
{
    SetReceiveTimeout(receiveTimeoutMs);
    dataChannel_.SetReceiveTimeout(receiveTimeoutMs);
    dataChannel_.SetLowSpeedLimit(LowSpeedLimit::kBytes, lowSpeedMs);
}

bool FtpClient::HasSftpConnection() const
{
    return sftp_ && sftp_->IsConnected();
}

bool FtpClient::SftpHostKey(std::string& fingerprint, bool& recorded) const
{
    return HasSftpConnection() && sftp_->HostKey(fingerprint, recorded);
}

bool FtpClient::ConnectionLost() const
{
    return sftpMode_ ? !HasSftpConnection() || sftpLost_ : !IsConnected();
}

int FtpClient::SftpResult(SftpCall call, bool succeeded, int failure, const std::string& name)
{
    if (succeeded) {
        lastOutcome_ = SftpAnswerOutcome(call, SftpAnswer::Done);
        return OnError(UTE_SUCCESS);
    }
    lastResponse_ = CutToResponseLength(sftp_->GetLastError());
    long long size = 0;
    const bool up = call == SftpCall::Delete ? sftp_->Size(name, size) : sftp_->ChangeDirectory(".");
    sftpLost_ = call != SftpCall::Delete && !up;
    lastOutcome_ = SftpAnswerOutcome(call, up ? SftpAnswer::Failed : SftpAnswer::Lost);
    return OnError(failure);
}

int FtpClient::SftpLogin(const std::string& host, const std::string& user, const std::string& password)
{
    if (sftp_)
        return OnError(UTE_CONNECT_FAILED);
    auto binding = std::make_unique<SftpBinding>(componentFolder_);
    binding->SetPort(sftpPort_);
    if (!binding->Connect(host, user, password)) {
        lastResponse_ = CutToResponseLength(binding->GetLastError());
        return OnError(UTE_CONNECT_FAILED);
    }
    sftp_ = std::move(binding);
    sftpLost_ = false;
    return OnError(UTE_SUCCESS);
}

int FtpClient::OnConnected(SocketHandle, const std::string&)
{
    int code = ReadReply();
    if (code == 0)
        return UTE_NO_RESPONSE;
    if (InRange(code, 200, 399))
        return IsAborted() ? UTE_ABORTED : UTE_SUCCESS;
    return UTE_CONNECT_FAILED;
}

void FtpClient::SendCommand(const std::string& command)
{
    // A failed send shows up as a missing reply.
    lineBuffer_ = command + "\r\n";
    Send(lineBuffer_.c_str(), static_cast<int>(lineBuffer_.size()));
}

void FtpClient::LoseStep()
{
    CloseConnectionSocket();
    dataChannel_.CloseConnection();
}

StoreOutcome FtpClient::Judge(FtpCommand kind, int code)
{
    lastOutcome_ = FtpReplyOutcome(kind, code);
    if (lastOutcome_ == StoreOutcome::Unknown)
        LoseStep();
    return lastOutcome_;
}

bool FtpClient::Proceeds(FtpCommand kind, int code)
{
    StoreOutcome outcome = Judge(kind, code);
    return outcome == StoreOutcome::Goes || outcome == StoreOutcome::Done;
}

StoreOutcome FtpClient::Final(FtpCommand kind, int code)
{
    if (Judge(kind, code) == StoreOutcome::Goes) {
        // A second preliminary reply: what follows cannot be told apart.
        LoseStep();
        lastOutcome_ = StoreOutcome::Unknown;
    }
    return lastOutcome_;
}

bool FtpClient::Expected(int code, int low, int high)
{
    if (InRange(code, low, high))
        return true;
    if (InRange(code, 100, 399))
        LoseStep();
    return false;
}

int FtpClient::ReadReply(std::string* text)
{
    // The whole reply, every line of it, within one receive time-out.
    const SocketDeadline deadline = ReceiveDeadline();
    auto noReply = [&] {
        // What did not come whole may still come, as the answer to the next command.
        LoseStep();
        lineBuffer_ = "    NO RESPONSE";
        if (text)
            *text = lineBuffer_;
        return 0;
    };
    if (ReceiveLineWithin(lineBuffer_, kReplyLineKept, deadline) != UTE_SUCCESS)
        return noReply();
    TrimLineEnd(lineBuffer_);
    const int code = ReplyCode(lineBuffer_);

    if (lineBuffer_.size() > 3 && lineBuffer_[3] == '-') {
        // A multi-line reply ends with the line that repeats the code followed by a blank.
        const std::string finalPrefix = lineBuffer_.substr(0, 3) + " ";
        responseLines_.clear();
        size_t lines = 0;
        while (lineBuffer_.compare(0, 4, finalPrefix) != 0) {
            if (++lines > kMaxReplyLines)
                return noReply();
            responseLines_.push_back(lineBuffer_);
            std::string next;
            if (ReceiveLineWithin(next, kReplyLineKept, deadline) != UTE_SUCCESS)
                return noReply();
            TrimLineEnd(next);
            lineBuffer_ = next;
        }
    }
    responseLines_.push_back(lineBuffer_);
    lastResponse_ = lineBuffer_.substr(0, kLastResponseLength);
    if (text)
        *text = lineBuffer_.size() > 4 ? lineBuffer_.substr(4) : std::string();
    return code;
}

int FtpClient::CommandReply(FtpCommand kind, const std::string& command)
{
    SendCommand(command);
    int code = ReadReply();
    StoreOutcome outcome = Judge(kind, code);
    if (code == 0)
        return OnError(UTE_NO_RESPONSE);
    return OnError(outcome == StoreOutcome::Done ? UTE_SUCCESS : UTE_SVR_REQUEST_DENIED);
}

int FtpClient::Login(const std::string& host, const std::string& user, const std::string& password,
                     const std::string& account)
{
    Logout();
    responseLines_.clear();
    lastResponse_.clear();
    if (sftpMode_)
        return SftpLogin(host, user, password);
    int result = Connect(controlPort_, host, connectTimeout_, SocketDefaults::kAnyFamily, SocketDefaults::kStream);
    if (result != UTE_SUCCESS)
        return result;

    // USER and PASS go on with a 3xx reply (PASS only with exactly 300); ACCT has none.
    SendCommand("USER " + user);
    int code = ReadReply();
    StoreOutcome outcome = Judge(FtpCommand::LogIn, code);
    if (code == 0)
        return OnError(UTE_NO_RESPONSE);
    if (outcome == StoreOutcome::Goes) {
        SendCommand("PASS " + password);
        code = ReadReply();
        outcome = Judge(FtpCommand::LogIn, code);
        if (code == 0)
            return OnError(UTE_NO_RESPONSE);
        if (code == 300) {
            SendCommand("ACCT " + account);
            code = ReadReply();
            outcome = Judge(FtpCommand::LogIn, code);
            if (code == 0)
                return OnError(UTE_NO_RESPONSE);
            if (outcome != StoreOutcome::Done && outcome != StoreOutcome::Goes)
                return OnError(UTE_ACCT_NA);
        } else if (outcome != StoreOutcome::Done && outcome != StoreOutcome::Goes) {
            return OnError(UTE_PASS_NA);
        }
    } else if (outcome != StoreOutcome::Done) {
        return OnError(UTE_USER_NA);
    }
    SetTransferType(0);
    SetTransferMode(0);
    SetStructure(0);
    return OnError(UTE_SUCCESS);
}

int FtpClient::Logout()
{
    if (sftpMode_) {
        // Destroying the binding closes the connection and unloads the component.
        sftp_.reset();
        sftpListing_.clear();
        sftpCursor_ = 0;
        return OnError(UTE_SUCCESS);
    }
    SendCommand("Quit");
    CloseConnection();
    dataChannel_.CloseConnection();
    return OnError(UTE_SUCCESS);
}

int FtpClient::Rename(const std::string& oldName, const std::string& newName)
{
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        return SftpResult(SftpCall::Other, sftp_->Rename(oldName, newName), UTE_SVR_REQUEST_DENIED);
    }
    SendCommand("RNFR " + oldName);
    int code = ReadReply();
    if (code == 0)
        return OnError(UTE_NO_RESPONSE);
    if (!Expected(code, 300, 399))
        return OnError(UTE_RNFR_NA);
    SendCommand("RNTO " + newName);
    code = ReadReply();
    if (code == 0)
        return OnError(UTE_NO_RESPONSE);
    return OnError(Expected(code, 200, 299) ? UTE_SUCCESS : UTE_RNTO_NA);
}

int FtpClient::DeleteFile(const std::string& name)
{
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        return SftpResult(SftpCall::Delete, sftp_->Delete(name), UTE_SVR_REQUEST_DENIED, name);
    }
    return CommandReply(FtpCommand::Dele, "DELE " + name);
}

int FtpClient::GetFileSize(const std::string& name, long long& size)
{
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        if (!sftp_->HasSize()) {
            lastOutcome_ = StoreOutcome::Refused;
            return OnError(UTE_SVR_NOT_SUPPORTED);
        }
        return SftpResult(SftpCall::Size, sftp_->Size(name, size), UTE_SVR_REQUEST_DENIED);
    }
    SendCommand("SIZE " + name);
    std::string text;
    int code = ReadReply(&text);
    StoreOutcome outcome = Judge(FtpCommand::Size, code);
    if (code == 0)
        return OnError(UTE_NO_RESPONSE);
    if (code == 500 || code == 502)
        return OnError(UTE_SVR_NOT_SUPPORTED);
    // Only 213 carries the size; another completion reply tells none.
    char* end = nullptr;
    long long bytes = std::strtoll(text.c_str(), &end, 10);
    if (outcome != StoreOutcome::Done || code != 213 || end == text.c_str() || bytes < 0) {
        lastOutcome_ = outcome == StoreOutcome::Unknown ? outcome : StoreOutcome::Refused;
        return OnError(UTE_SVR_REQUEST_DENIED);
    }
    size = bytes;
    return OnError(UTE_SUCCESS);
}

int FtpClient::GetCurrentDirectory(std::string& directory)
{
    std::string text;
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        if (!sftp_->Pwd(text) || text.size() > kLastResponseLength + 1)
            return SftpResult(SftpCall::Other, false, UTE_SVR_REQUEST_DENIED);
    } else {
        SendCommand("PWD");
        int code = ReadReply(&text);
        StoreOutcome outcome = Judge(FtpCommand::Other, code);
        if (code == 0)
            return OnError(UTE_NO_RESPONSE);
        if (outcome != StoreOutcome::Done)
            return OnError(UTE_SVR_REQUEST_DENIED);
    }
    // The first run without double quotes: a quoted path comes out without its quotes.
    size_t start = text.find_first_not_of('"');
    directory = start == std::string::npos ? std::string() : text.substr(start, text.find('"', start) - start);
    return OnError(UTE_SUCCESS);
}

int FtpClient::ChangeDirectory(const std::string& path)
{
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        return SftpResult(SftpCall::ChangeDirectory, sftp_->ChangeDirectory(path), UTE_SVR_REQUEST_DENIED);
    }
    return CommandReply(FtpCommand::Cwd, "CWD " + path);
}

int FtpClient::ChangeDirectoryUp()
{
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        return SftpResult(SftpCall::ChangeDirectory, sftp_->ChangeDirectory(".."), UTE_SVR_REQUEST_DENIED);
    }
    return CommandReply(FtpCommand::Other, "CDUP");
}

int FtpClient::MakeDirectory(const std::string& name)
{
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        return SftpResult(SftpCall::Other, sftp_->MakeDirectory(name), UTE_SVR_REQUEST_DENIED);
    }
    return CommandReply(FtpCommand::Other, "MKD " + name);
}

int FtpClient::RemoveDirectory(const std::string& name)
{
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        return SftpResult(SftpCall::Other, sftp_->RemoveDirectory(name), UTE_SVR_REQUEST_DENIED);
    }
    return CommandReply(FtpCommand::Other, "RMD " + name);
}

int FtpClient::Noop()
{
    if (sftpMode_)
        return OnError(UTE_SUCCESS);
    return CommandReply(FtpCommand::Other, "NOOP");
}

int FtpClient::Help(const std::string& topic)
{
    if (sftpMode_)
        return OnError(UTE_SUCCESS);
    responseLines_.clear();
    SendCommand(topic.empty() ? "HELP" : "HELP " + topic);
    int code = ReadReply();
    if (code == 0)
        return OnError(UTE_NO_RESPONSE);
    return OnError(Expected(code, 1, 299) ? UTE_SUCCESS : UTE_SVR_REQUEST_DENIED);
}

int FtpClient::Quote(const std::string& commandLine)
{
    lastResponse_.clear();
    if (commandLine.empty())
        return OnError(UTE_QUOTE_LINE_IS_EMPTY);
    responseLines_.clear();
    SendInLines(commandLine.c_str(), static_cast<int>(commandLine.size()), 256);
    return OnError(ReadReply() == 0 ? UTE_NO_RESPONSE : UTE_SUCCESS);
}

int FtpClient::GetResponseLineCount() const
{
    return static_cast<int>(responseLines_.size());
}

std::string FtpClient::GetResponseLine(int index) const
{
    if (index < 0 || index >= GetResponseLineCount())
        return "";
    return responseLines_[static_cast<size_t>(index)];
}

int FtpClient::SetOption(FtpCommand kind, const std::string& command, int value, int& stored)
{
    int result = CommandReply(kind, command);
    if (result == UTE_SUCCESS)
        stored = value;
    return result;
}

int FtpClient::SetTransferType(int type)
{
    if (!InRange(type, 0, 1))
        return OnError(UTE_PARAMETER_INVALID_VALUE);
    if (sftpMode_)
        return OnError(UTE_SUCCESS);
    return SetOption(FtpCommand::Type, type == 0 ? "TYPE A" : "TYPE I", type, transferType_);
}

int FtpClient::SetTransferMode(int mode)
{
    static const char* const kCommands[] = {"MODE S", "MODE B", "MODE C"};
    if (!InRange(mode, 0, 2))
        return OnError(UTE_PARAMETER_INVALID_VALUE);
    if (sftpMode_)
        return OnError(UTE_SUCCESS);
    return SetOption(FtpCommand::Other, kCommands[mode], mode, transferMode_);
}

int FtpClient::SetStructure(int structure)
{
    static const char* const kCommands[] = {"STRU F", "STRU R", "STRU P"};
    if (!InRange(structure, 0, 2))
        return OnError(UTE_PARAMETER_INVALID_VALUE);
    if (sftpMode_)
        return OnError(UTE_SUCCESS);
    return SetOption(FtpCommand::Other, kCommands[structure], structure, structure_);
}

int FtpClient::GetDirEntryCount() const
{
    if (sftpMode_ && HasSftpConnection())
        return static_cast<int>(sftpListing_.size());
    return static_cast<int>(entries_.size());
}

int FtpClient::GetDirEntry(int index, FtpDirEntry& entry)
{
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        // Past the last line there is no entry to hand out: that is no success.
        if (sftpCursor_ >= sftpListing_.size())
            return OnError(UTE_INDEX_OUTOFRANGE);
        ParseSftpListingLine(sftpListing_[sftpCursor_++], entry);
        return OnError(UTE_SUCCESS);
    }
    if (index < 0 || index >= GetDirEntryCount())
        return OnError(UTE_INDEX_OUTOFRANGE);
    entry = entries_[static_cast<size_t>(index)];
    return OnError(UTE_SUCCESS);
}

void FtpClient::ClearDirectory()
{
    entries_.clear();
}
