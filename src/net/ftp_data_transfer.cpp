// The data transfers of the FTP client: downloads (optionally resumed), uploads and
// listings, each over an active (PORT, or EPRT over IPv6) or passive (PASV, or EPSV over
// IPv6) data connection.
#include "net/ftp_protocol.h"

#include "net/ftp_client.h"

#include "net/ftp_reply_line.h"
#include "net/passive_reply.h"
#include "net/result_codes.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <strings.h>
#include <sys/socket.h>

namespace {

constexpr int kPortAttempts = 128;
constexpr int kLowestDataPort = 10000;
constexpr int kHighestDataPort = 32000;
constexpr int kTransferAcceptSeconds = 5;
constexpr int kListingAcceptSeconds = 15;
// A listing line is read whole up to this length; a longer one cannot be parsed.
constexpr size_t kListingLineKept = 8192;
// A listing beyond these bounds is no listing the station can work through.
constexpr size_t kMaxListingEntries = 100000;
constexpr size_t kMaxListingBytes = 64u * 1024 * 1024;

bool InRange(int code, int low, int high)
{
    return code >= low && code <= high;
}

}  // namespace

int FtpProtocol::AnnouncePort(Transfer kind)
{
    dataChannel_.CloseConnection();
    bool listening = false;
    const bool extended = control_.GetFamily() == AF_INET6;
    for (int attempt = 0; attempt < kPortAttempts && !listening; ++attempt) {
        listening = (extended ? dataChannel_.Listen(dataPort_, 1, AF_INET6) : dataChannel_.Listen(dataPort_, 1))
            == UTE_SUCCESS;
        if (!listening)
            ++dataPort_;
    }
    if (!listening)
        return kind == Transfer::Listing ? UTE_DATAPORT_FAILED : UTE_SVR_DATA_CONNECT_FAILED;

    std::string address;
    control_.GetLocalAddress(address, 1);
    const int port = dataChannel_.GetListenPort();
    if (extended) {
        SendCommand("EPRT |2|" + address + "|" + std::to_string(port) + "|");
    } else {
        std::replace(address.begin(), address.end(), '.', ',');
        SendCommand("PORT " + address + "," + std::to_string(port / 256) + "," + std::to_string(port % 256));
    }
    ++dataPort_;
    if (dataPort_ > kHighestDataPort || dataPort_ < 0)
        dataPort_ = kLowestDataPort;

    if (Judge(FtpCommand::Port, ReadReply()) != StoreOutcome::Done) {
        dataChannel_.CloseConnection();
        return UTE_PORT_FAILED;
    }
    return UTE_SUCCESS;
}

int FtpProtocol::RequestPassive(Transfer kind, int& port)
{
    dataChannel_.CloseConnection();
    const bool extended = control_.GetFamily() == AF_INET6;
    SendCommand(extended ? "EPSV" : "PASV");
    std::string text;
    if (Judge(FtpCommand::Passive, ReadReply(&text)) != StoreOutcome::Done)
        return UTE_PORT_FAILED;

    // The address must have its form, but the data connection goes to the control
    // connection's peer: a server must not be able to send the station to another host.
    const PassiveReply reply = extended ? ParseExtendedPassiveReply(text) : ParsePassiveReply(text);
    switch (reply.form) {
    case PassiveReply::Form::NoParenthesis:
        switch (kind) {
        case Transfer::Download:
            return UTE_RETR_FAILED;
        case Transfer::Upload:
            return UTE_STOR_FAILED;
        case Transfer::Listing:
            return UTE_SVR_DATA_CONNECT_FAILED;
        }
        break;
    case PassiveReply::Form::BadAddress:
        return kind == Transfer::Listing ? UTE_LIST_FAILED : UTE_SVR_DATA_CONNECT_FAILED;
    case PassiveReply::Form::BadPort:
        return kind == Transfer::Listing ? UTE_DATAPORT_FAILED : UTE_CONNECT_TERMINATED;
    case PassiveReply::Form::Usable:
        break;
    }
    if (kind != Transfer::Listing && control_.IsAborted()) {
        dataChannel_.CloseConnection();
        return UTE_ABORTED;
    }
    port = static_cast<int>(reply.port);
    return UTE_SUCCESS;
}

int FtpProtocol::ConnectData(int port)
{
    dataChannel_.ExpectPeer(control_.GetAddress());
    const int family = control_.GetFamily() == AF_INET6 ? SocketDefaults::kAnyFamily : SocketDefaults::kFamily;
    int result = dataChannel_.Connect(port, control_.GetAddress(), connectTimeout_, family, SocketDefaults::kStream);
    if (result != UTE_SUCCESS)
        dataChannel_.CloseConnection();
    return result;
}

int FtpProtocol::AcceptData(int seconds)
{
    // A connection from another host than the server is refused, and the wait goes on
    // for the server's own until the time is up.
    dataChannel_.ExpectPeer(control_.GetAddress());
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::seconds>(deadline - Clock::now()).count();
        if (dataChannel_.WaitForAccept(static_cast<int>(std::max<long long>(left, 0))) != UTE_SUCCESS)
            return UTE_SVR_DATA_CONNECT_FAILED;
        if (dataChannel_.AcceptConnection() == UTE_SUCCESS)
            return UTE_SUCCESS;
        if (Clock::now() >= deadline)
            return UTE_SVR_DATA_CONNECT_FAILED;
    }
}

int FtpProtocol::Resume(TransferSource& source, int& mode)
{
    mode = SourceMode::Create;
    if (source.Open(SourceMode::Read) != 0)
        return UTE_SUCCESS;  // nothing local yet: a plain download
    long size = std::max(source.Seek(0, 2), 0L);
    source.Close();
    SendCommand("REST " + std::to_string(size));
    if (!Expected(ReadReply(), 350, 350)) {
        dataChannel_.CloseConnection();
        return UTE_REST_COMMAND_NOT_SUPPORTED;
    }
    mode = SourceMode::Append;
    return UTE_SUCCESS;
}

void FtpProtocol::DropTransferReply()
{
    // The final reply of a failed transfer must not answer the next command.
    int code = ReadReply();
    if (InRange(code, 100, 199))
        ReadReply();
}

int FtpProtocol::FailedDataConnection(int result)
{
    dataChannel_.CloseConnection();
    DropTransferReply();
    return result;
}

int FtpProtocol::Download(TransferSource& source, const std::string& remoteName, bool passive, bool resume)
{
    int port = 0;
    int result = passive ? RequestPassive(Transfer::Download, port) : AnnouncePort(Transfer::Download);
    if (result != UTE_SUCCESS)
        return result;
    int mode = SourceMode::Create;
    if (resume && (result = Resume(source, mode)) != UTE_SUCCESS)
        return result;

    SendCommand("RETR " + remoteName);
    if (passive && (result = ConnectData(port)) != UTE_SUCCESS)
        return FailedDataConnection(result);
    int code = ReadReply();
    if (!Proceeds(FtpCommand::Retr, code)) {
        dataChannel_.CloseConnection();
        return UTE_RETR_FAILED;
    }
    if (!passive && AcceptData(kTransferAcceptSeconds) != UTE_SUCCESS) {
        dataChannel_.CloseConnection();
        return code < 200 ? FailedDataConnection(UTE_SVR_DATA_CONNECT_FAILED) : UTE_SVR_DATA_CONNECT_FAILED;
    }

    result = dataChannel_.ReceiveToSource(source, mode, 0, 0);
    dataChannel_.CloseConnection();
    // A first reply of 2xx was the final one already.
    const bool finalPending = code < 200;
    if (result != UTE_SUCCESS) {
        if (finalPending)
            DropTransferReply();
        return result;
    }
    if (finalPending && Final(FtpCommand::Retr, ReadReply()) != StoreOutcome::Done)
        return UTE_CONNECT_TERMINATED;
    return UTE_SUCCESS;
}

int FtpProtocol::Upload(TransferSource& source, const std::string& remoteName, bool passive)
{
    int port = 0;
    int result = passive ? RequestPassive(Transfer::Upload, port) : AnnouncePort(Transfer::Upload);
    if (result != UTE_SUCCESS)
        return result;
    if (!passive && control_.IsAborted()) {
        dataChannel_.CloseConnection();
        return UTE_ABORTED;
    }

    SendCommand("STOR " + remoteName);
    if (passive && (result = ConnectData(port)) != UTE_SUCCESS)
        return FailedDataConnection(result);
    int code = ReadReply();
    if (!InRange(code, 100, 299)) {
        dataChannel_.CloseConnection();
        return UTE_STOR_FAILED;
    }
    if (!passive && AcceptData(kTransferAcceptSeconds) != UTE_SUCCESS) {
        dataChannel_.CloseConnection();
        return code < 200 ? FailedDataConnection(UTE_SVR_DATA_CONNECT_FAILED) : UTE_SVR_DATA_CONNECT_FAILED;
    }

    result = dataChannel_.SendFromSource(source);
    dataChannel_.CloseConnection();
    const bool finalPending = code < 200;
    if (result != UTE_SUCCESS) {
        if (finalPending)
            DropTransferReply();
        return result;
    }
    if (finalPending)
        code = ReadReply();
    return InRange(code, 200, 299) ? UTE_SUCCESS : UTE_CONNECT_TERMINATED;
}

int FtpProtocol::List(bool passive)
{
    // The active form reads no reply before the data connection, so all replies are pending.
    bool finalPending = true;
    if (passive) {
        int port = 0;
        int result = RequestPassive(Transfer::Listing, port);
        if (result != UTE_SUCCESS)
            return result;
        SendCommand("LIST");
        if ((result = ConnectData(port)) != UTE_SUCCESS)
            return FailedDataConnection(result);
        int code = ReadReply();
        if (!Proceeds(FtpCommand::List, code)) {
            dataChannel_.CloseConnection();
            return UTE_SVR_DATA_CONNECT_FAILED;
        }
        finalPending = code < 200;
    } else {
        int result = AnnouncePort(Transfer::Listing);
        if (result != UTE_SUCCESS)
            return result;
        SendCommand("LIST");
        if (AcceptData(kListingAcceptSeconds) != UTE_SUCCESS)
            return FailedDataConnection(UTE_SVR_DATA_CONNECT_FAILED);
    }
    return ReadListing(finalPending);
}

int FtpProtocol::ReadListing(bool finalPending)
{
    ClearDirectory();
    skippedLines_.clear();
    auto stop = [&](int result) {
        dataChannel_.CloseConnection();
        if (finalPending)
            DropTransferReply();
        return result;
    };
    bool totalSkipped = false;
    size_t bytes = 0;
    for (;;) {
        if (control_.IsAborted())
            return stop(UTE_ABORTED);
        // Each line within the receive time-out, kept one byte past the longest line read
        // whole, so that a longer one shows.
        int result = dataChannel_.ReceiveLineWithin(lineBuffer_, kListingLineKept + 1, dataChannel_.ReceiveDeadline());
        if (result == UTE_CONNECT_TERMINATED && lineBuffer_.empty())
            break;
        if (result != UTE_SUCCESS && result != UTE_CONNECT_TERMINATED)
            return stop(result);
        bytes += lineBuffer_.size();
        if (bytes > kMaxListingBytes || entries_.size() + skippedLines_.size() >= kMaxListingEntries)
            return stop(UTE_LIST_FAILED);
        TrimLineEnd(lineBuffer_);
        if (!totalSkipped && strncasecmp(lineBuffer_.c_str(), "total", 5) == 0) {
            totalSkipped = true;
            continue;
        }
        FtpDirEntry entry;
        if (!lineBuffer_.empty() && std::isdigit(static_cast<unsigned char>(lineBuffer_[0])))
            ParseDosEntry(lineBuffer_, entry);
        else
            ParseUnixEntry(lineBuffer_, entry);
        if (lineBuffer_.size() > kListingLineKept || entry.name.empty()) {
            if (!lineBuffer_.empty())
                skippedLines_.push_back(lineBuffer_.substr(0, kListingLineKept));
        } else {
            entries_.push_back(entry);
        }
        if (result == UTE_CONNECT_TERMINATED)
            break;
    }
    dataChannel_.CloseConnection();
    return FinalListReply(finalPending);
}

int FtpProtocol::FinalListReply(bool finalPending)
{
    if (!finalPending)
        return UTE_SUCCESS;
    // The active form reads the preliminary reply only now.
    int code = ReadReply();
    if (ClassOfReply(code) == ReplyClass::Preliminary)
        code = ReadReply();
    return Final(FtpCommand::List, code) == StoreOutcome::Done ? UTE_SUCCESS : UTE_LIST_FAILED;
}

int FtpProtocol::GetFile(const std::string& remoteName, const std::string& localPath)
{
    FileTransferSource source(localPath, 4096);
    return Download(source, remoteName, passive_ != 0, false);
}

int FtpProtocol::PutFile(const std::string& localPath, const std::string& remoteName)
{
    FileTransferSource source(localPath, 4096);
    return Upload(source, remoteName, passive_ != 0);
}
