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

FtpClient::FtpClient() : dataChannel_(*this, tls_), dataPort_(MillisecondsSinceStart() % 20000 + 10000)
{
}

FtpClient::~FtpClient()
{
    ClearDirectory();
    Logout();
}

bool FtpClient::HasSftpConnection() const
{
    return sftp_ && sftp_->IsConnected();
}

bool FtpClient::SftpHostKey(std::string& fingerprint, bool& recorded) const
{
    return HasSftpConnection() && sftp_->HostKey(fingerprint, recorded);
}

int FtpClient::SftpResult(bool succeeded, int failure)
{
    if (succeeded)
        return OnError(UTE_SUCCESS);
    lastResponse_ = CutToResponseLength(sftp_->GetLastError());
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

int FtpClient::CommandReply(const std::string& command, int low, int high)
{
    SendCommand(command);
    int code = ReadReply();
    if (code == 0)
        return OnError(UTE_NO_RESPONSE);
    return OnError(Expected(code, low, high) ? UTE_SUCCESS : UTE_SVR_REQUEST_DENIED);
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
    if ((result = StartTls(host)) != UTE_SUCCESS)
        return OnError(result);

    SendCommand("USER " + user);
    int code = ReadReply();
    if (code == 0)
        return OnError(UTE_NO_RESPONSE);
    if (InRange(code, 300, 399)) {
        SendCommand("PASS " + password);
        code = ReadReply();
        if (code == 0)
            return OnError(UTE_NO_RESPONSE);
        if (code == 300) {
            SendCommand("ACCT " + account);
            code = ReadReply();
            if (code == 0)
                return OnError(UTE_NO_RESPONSE);
            if (!InRange(code, 200, 399))
                return OnError(UTE_ACCT_NA);
        } else if (!InRange(code, 200, 299) && !InRange(code, 301, 399)) {
            return OnError(UTE_PASS_NA);
        }
    } else if (!InRange(code, 200, 299)) {
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
    tls_.Reset();
    return OnError(UTE_SUCCESS);
}

int FtpClient::Rename(const std::string& oldName, const std::string& newName)
{
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        return SftpResult(sftp_->Rename(oldName, newName), UTE_SVR_REQUEST_DENIED);
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
        return SftpResult(sftp_->Delete(name), UTE_SVR_REQUEST_DENIED);
    }
    // Only 250 says the file is gone.
    return CommandReply("DELE " + name, 250, 250);
}

int FtpClient::GetFileSize(const std::string& name, long long& size)
{
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        if (!sftp_->HasSize())
            return OnError(UTE_SVR_NOT_SUPPORTED);
        return SftpResult(sftp_->Size(name, size), UTE_SVR_REQUEST_DENIED);
    }
    SendCommand("SIZE " + name);
    std::string text;
    int code = ReadReply(&text);
    if (code == 0)
        return OnError(UTE_NO_RESPONSE);
    if (code == 500 || code == 502)
        return OnError(UTE_SVR_NOT_SUPPORTED);
    char* end = nullptr;
    long long bytes = std::strtoll(text.c_str(), &end, 10);
    if (code != 213 || end == text.c_str() || bytes < 0)
        return OnError(UTE_SVR_REQUEST_DENIED);
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
            return SftpResult(false, UTE_SVR_REQUEST_DENIED);
    } else {
        SendCommand("PWD");
        int code = ReadReply(&text);
        if (code == 0)
            return OnError(UTE_NO_RESPONSE);
        if (!Expected(code, 200, 299))
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
        return SftpResult(sftp_->ChangeDirectory(path), UTE_SVR_REQUEST_DENIED);
    }
    return CommandReply("CWD " + path, 200, 299);
}

int FtpClient::ChangeDirectoryUp()
{
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        return SftpResult(sftp_->ChangeDirectory(".."), UTE_SVR_REQUEST_DENIED);
    }
    return CommandReply("CDUP", 200, 299);
}

int FtpClient::MakeDirectory(const std::string& name)
{
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        return SftpResult(sftp_->MakeDirectory(name), UTE_SVR_REQUEST_DENIED);
    }
    return CommandReply("MKD " + name, 200, 299);
}

int FtpClient::RemoveDirectory(const std::string& name)
{
    if (sftpMode_) {
        if (!HasSftpConnection())
            return OnError(UTE_SVR_DATA_CONNECT_FAILED);
        return SftpResult(sftp_->RemoveDirectory(name), UTE_SVR_REQUEST_DENIED);
    }
    return CommandReply("RMD " + name, 200, 299);
}

int FtpClient::Noop()
{
    if (sftpMode_)
        return OnError(UTE_SUCCESS);
    return CommandReply("NOOP", 200, 299);
}

int FtpClient::Help(const std::string& topic)
{
    if (sftpMode_)
        return OnError(UTE_SUCCESS);
    responseLines_.clear();
    return CommandReply(topic.empty() ? "HELP" : "HELP " + topic, 1, 299);
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

int FtpClient::SetOption(const std::string& command, int low, int high, int value, int& stored)
{
    SendCommand(command);
    int code = ReadReply();
    if (code == 0)
        return OnError(UTE_NO_RESPONSE);
    if (!Expected(code, low, high))
        return OnError(UTE_SVR_REQUEST_DENIED);
    stored = value;
    return OnError(UTE_SUCCESS);
}

int FtpClient::SetTransferType(int type)
{
    if (!InRange(type, 0, 1))
        return OnError(UTE_PARAMETER_INVALID_VALUE);
    if (sftpMode_)
        return OnError(UTE_SUCCESS);
    return SetOption(type == 0 ? "TYPE A" : "TYPE I", 200, 299, type, transferType_);
}

int FtpClient::SetTransferMode(int mode)
{
    static const char* const kCommands[] = {"MODE S", "MODE B", "MODE C"};
    if (!InRange(mode, 0, 2))
        return OnError(UTE_PARAMETER_INVALID_VALUE);
    if (sftpMode_)
        return OnError(UTE_SUCCESS);
    return SetOption(kCommands[mode], 200, 299, mode, transferMode_);
}

int FtpClient::SetStructure(int structure)
{
    static const char* const kCommands[] = {"STRU F", "STRU R", "STRU P"};
    if (!InRange(structure, 0, 2))
        return OnError(UTE_PARAMETER_INVALID_VALUE);
    if (sftpMode_)
        return OnError(UTE_SUCCESS);
    return SetOption(kCommands[structure], 200, 299, structure, structure_);
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
