#include "net/ws_client.h"

#include "net/failure_reason.h"
#include "net/result_codes.h"
#include "net/socket_wait.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

// A download is read in pieces of at least kLeastRead bytes into a block of
// kReceiveBlockSize, which goes to the source whenever less room than that is left.
constexpr size_t kReceiveBlockSize = 256 * 1024;
constexpr long kLeastRead = 64 * 1024;

// Kept and dropped bytes of a line are peeked and taken in pieces of this size.
constexpr int kLinePiece = 4096;

NetAddress FromIpv4(const sockaddr_in& address)
{
    NetAddress result;
    std::memcpy(&result.storage, &address, sizeof address);
    result.length = sizeof address;
    return result;
}

// The local address of a socket; empty when it has none.
NetAddress LocalAddressOf(SocketHandle socket)
{
    NetAddress local;
    local.length = sizeof local.storage;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&local.storage), &local.length) != 0)
        return NetAddress{};
    return local;
}

bool SetNonBlocking(SocketHandle socket, bool on)
{
    int flags = fcntl(socket, F_GETFL);
    if (flags < 0)
        return false;
    flags = on ? flags | O_NONBLOCK : flags & ~O_NONBLOCK;
    return fcntl(socket, F_SETFL, flags) == 0;
}

}  // namespace

CUT_WSClient::~CUT_WSClient()
{
    CloseConnectionSocket();
    if (listenSocket_ != kInvalidSocket)
        close(listenSocket_);
}

int CUT_WSClient::Connect(int port, const std::string& host, int timeoutSeconds, int family, int type)
{
    if (socket_ != kInvalidSocket)
        return OnError(UTE_SOCK_ALREADY_OPEN);
    const int lookupSeconds = timeoutSeconds >= 0 ? timeoutSeconds : sendTimeoutMs_ / 1000;
    connectError_ = 0;
    nameFailed_ = false;
    connectSeconds_ = lookupSeconds;
    std::vector<NetAddress> addresses;
    if (family == SocketDefaults::kAnyFamily && type == SocketDefaults::kStream) {
        size_t at = host.rfind('@');
        nameFailed_ =
            !LookUpAddresses(at == std::string::npos ? host : host.substr(at + 1), AF_UNSPEC, lookupSeconds, addresses);
        if (nameFailed_)
            return OnError(UTE_INVALID_ADDRESS);
    } else {
        std::string address = host;
        if (!IsDottedAddress(host) && Resolve(host, address, 32, lookupSeconds) != UTE_SUCCESS)
            return OnError(UTE_INVALID_ADDRESS);
        sockaddr_in peer{};
        peer.sin_family = static_cast<sa_family_t>(family);
        inet_pton(AF_INET, address.c_str(), &peer.sin_addr);
        addresses.push_back(FromIpv4(peer));
    }
    int result = UTE_SOCK_CONNECT_FAILED;
    for (NetAddress& address : addresses) {
        address.SetPort(port);
        result = ConnectTo(address, type, host, timeoutSeconds);
        // Only an address that cannot be reached makes the next one worth a try.
        if ((result != UTE_SOCK_CONNECT_FAILED && result != UTE_CONNECT_TIMEOUT) || IsAborted())
            break;
    }
    return OnError(result);
}

int CUT_WSClient::ConnectTo(const NetAddress& address, int type, const std::string& host, int timeoutSeconds)
{
    socketType_ = type;
    peer_ = address;
    socket_ = socket(address.Family(), type | SOCK_CLOEXEC, 0);
    if (socket_ < 0) {
        socket_ = kInvalidSocket;
        return UTE_SOCK_CREATE_FAILED;
    }
    address_ = address.Text();
    int result = ConnectSocket(host, timeoutSeconds);
    if (result != UTE_SUCCESS)
        CloseConnectionSocket();
    return result;
}

int CUT_WSClient::ConnectSocket(const std::string& host, int timeoutSeconds)
{
    // Without a time-out of its own the connect is bounded by the send time-out.
    if (timeoutSeconds < 0)
        ApplyTimeouts();
    else if (!SetNonBlocking(socket_, true))
        return UTE_SOCK_CONNECT_FAILED;

    if (connect(socket_, peer_.Raw(), peer_.length) != 0) {
        connectError_ = errno;
        if (connectError_ != EINPROGRESS)
            return UTE_SOCK_CONNECT_FAILED;
        if (timeoutSeconds < 0 || !WaitForSocket(socket_, SocketEvent::Writable, timeoutSeconds, 0))
            return UTE_CONNECT_TIMEOUT;
        socklen_t length = sizeof connectError_;
        if (getsockopt(socket_, SOL_SOCKET, SO_ERROR, &connectError_, &length) != 0 || connectError_ != 0)
            return UTE_SOCK_CONNECT_FAILED;
    }
    if (timeoutSeconds >= 0 && !SetNonBlocking(socket_, false))
        return UTE_SOCK_CONNECT_FAILED;

    ApplyTimeouts();
    RecordPorts();
    return OnConnected(socket_, host);
}

int CUT_WSClient::ConnectBound(int localPort, int remotePort, const std::string& localAddress,
                               const std::string& remoteAddress, int family, int type)
{
    if (socket_ != kInvalidSocket)
        return OnError(UTE_SOCK_ALREADY_OPEN);
    socketType_ = type;
    socket_ = socket(family, type | SOCK_CLOEXEC, 0);
    if (socket_ < 0) {
        socket_ = kInvalidSocket;
        return OnError(UTE_SOCK_CREATE_FAILED);
    }
    address_ = remoteAddress.substr(0, 29);

    sockaddr_in local{};
    local.sin_family = static_cast<sa_family_t>(family);
    local.sin_port = htons(static_cast<uint16_t>(localPort));
    if (!localAddress.empty() && inet_pton(AF_INET, localAddress.c_str(), &local.sin_addr) != 1) {
        CloseConnectionSocket();
        return OnError(UTE_SOCK_BIND_FAILED);
    }
    if (bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        CloseConnectionSocket();
        return OnError(UTE_SOCK_BIND_FAILED);
    }
    sockaddr_in peer{};
    peer.sin_family = static_cast<sa_family_t>(family);
    peer.sin_port = htons(static_cast<uint16_t>(remotePort));
    ApplyTimeouts();
    const bool numeric = inet_pton(AF_INET, address_.c_str(), &peer.sin_addr) == 1;
    peer_ = FromIpv4(peer);
    if (!numeric || connect(socket_, peer_.Raw(), peer_.length) != 0) {
        CloseConnectionSocket();
        return OnError(UTE_SOCK_CONNECT_FAILED);
    }
    RecordPorts();
    return OnError(UTE_SUCCESS);
}

int CUT_WSClient::OpenDatagram(int localPort, int remotePort, const std::string& remoteAddress,
                               const std::string& localAddress)
{
    if (socket_ != kInvalidSocket)
        return OnError(UTE_SOCK_ALREADY_OPEN);
    std::string address = remoteAddress;
    if (!IsDottedAddress(address) && Resolve(remoteAddress, address, 32, sendTimeoutMs_ / 1000) != UTE_SUCCESS)
        return OnError(UTE_INVALID_ADDRESS);
    socketType_ = SocketDefaults::kDatagram;
    socket_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (socket_ < 0) {
        socket_ = kInvalidSocket;
        return OnError(UTE_SOCK_CREATE_FAILED);
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<uint16_t>(localPort));
    if ((!localAddress.empty() && inet_pton(AF_INET, localAddress.c_str(), &local.sin_addr) != 1)
        || bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        CloseConnectionSocket();
        return OnError(UTE_SOCK_BIND_FAILED);
    }
    address_ = address;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<uint16_t>(remotePort));
    inet_pton(AF_INET, address.c_str(), &peer.sin_addr);
    peer_ = FromIpv4(peer);
    ApplyTimeouts();
    RecordPorts();
    return OnError(UTE_SUCCESS);
}

int CUT_WSClient::CreateSocket(SocketHandle& handle, int family, int type, int protocol)
{
    handle = socket(family, type | SOCK_CLOEXEC, protocol);
    if (handle < 0) {
        handle = kInvalidSocket;
        return OnError(UTE_ERROR);
    }
    return OnError(UTE_SUCCESS);
}

bool CUT_WSClient::CloseConnectionSocket()
{
    bool ok = true;
    if (socket_ != kInvalidSocket) {
        // A peer that reset the connection leaves nothing to shut down.
        if (socketType_ == SocketDefaults::kStream && RawShutdown(socket_, SHUT_RDWR) != 0
            && errno != ENOTCONN)
            ok = false;
        if (RawClose(socket_) != 0)
            ok = false;
    }
    socket_ = kInvalidSocket;
    remotePort_ = localPort_ = 0;
    address_.clear();
    return ok;
}

void CUT_WSClient::AdoptConnection(SocketHandle socket)
{
    CloseConnectionSocket();
    socket_ = socket;
    socketType_ = SocketDefaults::kStream;
}

int CUT_WSClient::CloseConnection()
{
    bool ok = CloseConnectionSocket();
    if (listenSocket_ != kInvalidSocket && RawClose(listenSocket_) != 0)
        ok = false;
    listenSocket_ = kInvalidSocket;
    listenPort_ = 0;
    return OnError(ok ? UTE_SUCCESS : UTE_ERROR);
}

int CUT_WSClient::Listen(int port, int backlog, int family, const std::string& address)
{
    if (listenSocket_ != kInvalidSocket)
        return OnError(UTE_SOCK_ALREADY_OPEN);
    SocketHandle handle = socket(family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, protocol_);
    if (handle < 0)
        return OnError(UTE_SOCK_CREATE_FAILED);
    int on = 1;
    setsockopt(handle, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    NetAddress local;
    bool numeric = true;
    if (family == AF_INET6) {
        sockaddr_in6 any{};
        any.sin6_family = AF_INET6;
        any.sin6_addr = in6addr_any;
        numeric = address.empty() || inet_pton(AF_INET6, address.c_str(), &any.sin6_addr) == 1;
        std::memcpy(&local.storage, &any, sizeof any);
        local.length = sizeof any;
    } else {
        sockaddr_in any{};
        any.sin_family = static_cast<sa_family_t>(family);
        numeric = address.empty() || inet_pton(AF_INET, address.c_str(), &any.sin_addr) == 1;
        local = FromIpv4(any);
    }
    local.SetPort(port);
    if (!numeric || bind(handle, local.Raw(), local.length) != 0) {
        close(handle);
        return OnError(UTE_SOCK_BIND_FAILED);
    }
    if (listen(handle, backlog) != 0) {
        close(handle);
        return OnError(UTE_SOCK_LISTEN_ERROR);
    }
    listenSocket_ = handle;
    listenPort_ = LocalAddressOf(handle).Port();
    return OnError(UTE_SUCCESS);
}

int CUT_WSClient::WaitForAccept(int seconds)
{
    bool waiting = WaitForSocket(listenSocket_, SocketEvent::Readable, seconds, 0);
    return OnError(waiting ? UTE_SUCCESS : UTE_ERROR);
}

int CUT_WSClient::AcceptConnection()
{
    if (socket_ != kInvalidSocket && !CloseConnectionSocket())
        return OnError(UTE_ERROR);
    NetAddress from;
    from.length = sizeof from.storage;
    SocketHandle handle = accept4(listenSocket_, reinterpret_cast<sockaddr*>(&from.storage), &from.length, SOCK_CLOEXEC);
    if (handle < 0)
        return OnError(UTE_ERROR);
    socket_ = handle;
    socketType_ = SocketDefaults::kStream;
    peer_ = from;
    address_ = from.Text();
    ApplyTimeouts();
    RecordPorts();
    int result = OnConnected(socket_, address_);
    if (result != 0)
        CloseConnectionSocket();
    return OnError(result);
}

int CUT_WSClient::SendChunks(TransferSource& source)
{
    char chunk[255];
    long total = 0;
    for (;;) {
        long count = source.Read(chunk, sizeof chunk);
        if (count < 0)
            return UTE_FILE_READ_ERROR;
        if (count == 0)
            return UTE_SUCCESS;
        if (SendAll(chunk, static_cast<int>(count)) != count)
            return UTE_SOCK_SEND_ERROR;
        total += count;
        if (OnSendProgress(total) == 0 || IsAborted())
            return UTE_ABORTED;
    }
}

int CUT_WSClient::SendFromOpenSource(TransferSource& source)
{
    if (socket_ == kInvalidSocket)
        return OnError(UTE_SOCK_NOT_OPEN);
    return OnError(SendChunks(source));
}

int CUT_WSClient::SendFromSource(TransferSource& source)
{
    if (socket_ == kInvalidSocket)
        return OnError(UTE_SOCK_NOT_OPEN);
    if (source.Open(SourceMode::Read) != 0)
        return OnError(UTE_DS_OPEN_FAILED);
    int result = SendChunks(source);
    source.Close();
    return OnError(result);
}

int CUT_WSClient::Send(const char* data, int length)
{
    if (socket_ == kInvalidSocket || data == nullptr)
        return 0;
    if (length <= 0)
        length = static_cast<int>(std::strlen(data));
    if (length == 0)
        return 0;
    int count = RawSend(socket_, data, length, 0);
    return count > 0 ? count : 0;
}

int CUT_WSClient::SendAll(const char* data, int length)
{
    int sent = 0;
    while (sent < length) {
        int count = Send(data + sent, length - sent);
        if (count == 0)
            break;
        sent += count;
    }
    return sent;
}

int CUT_WSClient::SendInLines(const char* text, int length, int blockSize)
{
    if (length < 0)
        length = static_cast<int>(std::strlen(text));
    if (blockSize <= 0)
        blockSize = std::max(length, 1);
    int sent = 0;
    while (sent < length && !IsAborted()) {
        int piece = std::min(blockSize, length - sent);
        int count = SendAll(text + sent, piece);
        sent += count;
        if (count != piece || SendAll("\r\n", 2) != 2)
            break;
    }
    return sent;
}

int CUT_WSClient::SendFile(const std::string& path)
{
    FileTransferSource source(path, 4096);
    return SendFromSource(source);
}

int CUT_WSClient::SendTo(const char* data, int& length)
{
    if (socket_ == kInvalidSocket)
        return OnError(UTE_SOCK_NOT_OPEN);
    ssize_t count = sendto(socket_, data, static_cast<size_t>(std::max(length, 0)), MSG_NOSIGNAL,
                           peer_.Raw(), peer_.length);
    length = count > 0 ? static_cast<int>(count) : 0;
    return OnError(count < 0 ? UTE_SOCK_SEND_ERROR : UTE_SUCCESS);
}

int CUT_WSClient::WaitWritable(int seconds, int microseconds)
{
    bool ready = WaitForSocket(socket_, SocketEvent::Writable, seconds, microseconds);
    return OnError(ready ? UTE_SUCCESS : UTE_ERROR);
}

int CUT_WSClient::ReceiveChunks(TransferSource& source, int chunkSize, int timeoutSeconds, long maxLength)
{
    // The socket is read in large pieces straight into the block that goes to the source,
    // but what was read is handed on in steps of chunkSize bytes of the running total: the
    // progress hook sees every step, and a stop keeps exactly the bytes up to its step.
    // Every way out writes what was handed on, so a resumed download continues after it.
    std::vector<char> block(kReceiveBlockSize);
    long filled = 0;   // handed on, not yet written
    long pending = 0;  // read after them, not yet handed on
    long total = 0;    // handed on
    auto writeBlock = [&] {
        bool written = filled == 0 || source.Write(block.data(), filled) == filled;
        std::memmove(block.data(), block.data() + filled, static_cast<size_t>(pending));
        filled = 0;
        return written;
    };
    auto handOn = [&](long count) {
        filled += count;
        pending -= count;
        total += count;
        return OnReceiveProgress(total) != 0 && !IsAborted();
    };
    auto finish = [&](int result) {
        if (pending > 0 && !handOn(pending) && result == UTE_SUCCESS)
            result = UTE_ABORTED;
        bool written = writeBlock();
        return (written || result != UTE_SUCCESS) ? result : UTE_DS_WRITE_FAILED;
    };
    LowSpeedLimit speed(lowSpeedBytes_, lowSpeedMs_);
    for (;;) {
        if (static_cast<long>(block.size()) - filled - pending < kLeastRead && !writeBlock())
            return UTE_DS_WRITE_FAILED;
        long wanted = static_cast<long>(block.size()) - filled - pending;
        if (maxLength > 0) {
            long rest = maxLength - total - pending;
            if (rest <= 0)
                return finish(UTE_SUCCESS);
            wanted = std::min(wanted, rest);
        }
        if (timeoutSeconds > 0 && RawWaitReadable(socket_, timeoutSeconds, 0) != 0)
            return finish(UTE_SOCK_TIMEOUT);
        // Without a time-out of its own the wait is the receive time-out of the socket, as a
        // blocking receive would have it, but waited for in slices.
        if (timeoutSeconds <= 0 && !ReceiveWaitEnds())
            return finish(UTE_SOCK_RECEIVE_ERROR);
        int count = Receive(block.data() + filled + pending, static_cast<int>(wanted), 0);
        if (count == 0)
            return finish(UTE_SUCCESS);
        if (count < 0)
            return finish(UTE_SOCK_RECEIVE_ERROR);
        pending += count;
        for (long step = chunkSize - total % chunkSize; pending >= step; step = chunkSize) {
            if (!handOn(step)) {
                pending = 0;
                return finish(UTE_ABORTED);
            }
        }
        if (!speed.Moved(count))
            return finish(UTE_SOCK_TIMEOUT);
    }
}

void CUT_WSClient::SetLowSpeedLimit(long bytes, int milliseconds)
{
    lowSpeedBytes_ = bytes;
    lowSpeedMs_ = milliseconds;
}

int CUT_WSClient::ReceiveToOpenSource(TransferSource& source, int timeoutSeconds, long maxLength)
{
    if (socket_ == kInvalidSocket)
        return OnError(UTE_SOCK_NOT_OPEN);
    return OnError(ReceiveChunks(source, 256, timeoutSeconds, maxLength));
}

int CUT_WSClient::ReceiveToSource(TransferSource& source, int mode, int timeoutSeconds, long maxLength)
{
    if (socket_ == kInvalidSocket)
        return OnError(UTE_SOCK_NOT_OPEN);
    if (mode != SourceMode::Create && mode != SourceMode::Append)
        return OnError(UTE_FILE_TYPE_ERROR);
    if (source.Open(mode) != 0)
        return OnError(UTE_DS_OPEN_FAILED);
    int result = ReceiveChunks(source, 1024, timeoutSeconds, maxLength);
    // A write the file system only refuses on close (a full disk) is a failed write too.
    if (source.Close() != 0 && result == UTE_SUCCESS)
        result = UTE_DS_WRITE_FAILED;
    return OnError(result);
}

int CUT_WSClient::Receive(char* buffer, int size, int timeoutSeconds)
{
    if (socket_ == kInvalidSocket)
        return -1;
    if (timeoutSeconds > 0 && RawWaitReadable(socket_, timeoutSeconds, 0) != 0)
        return 0;
    return RawReceive(socket_, buffer, size, 0);
}

int CUT_WSClient::ReceiveExact(char* buffer, int size, int timeoutSeconds)
{
    int received = 0;
    while (received < size) {
        int count = Receive(buffer + received, size - received, timeoutSeconds);
        if (count <= 0)
            break;
        received += count;
    }
    return received;
}

int CUT_WSClient::ReceiveFile(const std::string& path, int mode, int timeoutSeconds)
{
    FileTransferSource source(path, 4096);
    return ReceiveToSource(source, mode, timeoutSeconds, 0);
}

int CUT_WSClient::ReceiveLine(std::string& line, int size, int timeoutSeconds)
{
    line.clear();
    if (socket_ == kInvalidSocket || size < 2)
        return 0;
    std::vector<char> scratch(static_cast<size_t>(size));
    int space = size - 1;
    while (space > 0) {
        if (IsAborted())
            break;
        if (timeoutSeconds > 0 && RawWaitReadable(socket_, timeoutSeconds, 0) != 0)
            break;
        int peeked = RawReceive(socket_, scratch.data(), space, MSG_PEEK);
        if (peeked < 1)
            break;
        const char* end = static_cast<const char*>(std::memchr(scratch.data(), '\n', static_cast<size_t>(peeked)));
        int wanted = end ? static_cast<int>(end - scratch.data()) + 1 : peeked;
        int count = RawReceive(socket_, scratch.data(), wanted, 0);
        if (count < 1)
            break;
        line.append(scratch.data(), static_cast<size_t>(count));
        space -= count;
        if (end && count == wanted)
            break;
    }
    return static_cast<int>(line.size());
}

bool CUT_WSClient::ReceiveWaitEnds()
{
    // A receive time-out of 0 waits without end, as it does on the socket.
    const int milliseconds = receiveTimeoutMs_ > 0 ? receiveTimeoutMs_ : INT_MAX;
    return RawWaitReadable(socket_, milliseconds / 1000, milliseconds % 1000 * 1000) == 0;
}

SocketDeadline CUT_WSClient::ReceiveDeadline() const
{
    return DeadlineAfterMs(receiveTimeoutMs_);
}

int CUT_WSClient::ReceiveLineWithin(std::string& line, size_t maxKept, SocketDeadline deadline)
{
    line.clear();
    if (socket_ == kInvalidSocket)
        return UTE_SOCK_NOT_OPEN;
    std::vector<char> piece(kLinePiece);
    bool truncated = false;
    bool lastWasCr = false;
    for (;;) {
        if (IsAborted())
            return UTE_ABORTED;
        int seconds = 0;
        int microseconds = 0;
        if (!TimeLeft(deadline, seconds, microseconds) || RawWaitReadable(socket_, seconds, microseconds) != 0)
            return UTE_SOCK_TIMEOUT;
        int peeked = RawReceive(socket_, piece.data(), kLinePiece, MSG_PEEK);
        if (peeked == 0)
            return UTE_CONNECT_TERMINATED;
        if (peeked < 0)
            return UTE_SOCK_RECEIVE_ERROR;
        const char* feed = static_cast<const char*>(std::memchr(piece.data(), '\n', static_cast<size_t>(peeked)));
        const int wanted = feed ? static_cast<int>(feed - piece.data()) + 1 : peeked;
        const int count = RawReceive(socket_, piece.data(), wanted, 0);
        if (count < 1)
            return count == 0 ? UTE_CONNECT_TERMINATED : UTE_SOCK_RECEIVE_ERROR;
        const bool ended = feed && count == wanted;
        const size_t text = static_cast<size_t>(ended ? count - 1 : count);
        if (text > 0)
            lastWasCr = piece[text - 1] == '\r';
        const size_t room = maxKept > line.size() ? maxKept - line.size() : 0;
        truncated = truncated || text > room;
        line.append(piece.data(), std::min(text, room));
        if (ended) {
            if (!truncated && lastWasCr && !line.empty())
                line.pop_back();
            line += lastWasCr ? "\r\n" : "\n";
            return UTE_SUCCESS;
        }
    }
}

int CUT_WSClient::ClearReceiveBuffer()
{
    char chunk[256];
    while (RawDataAvailable(socket_)) {
        if (RawReceive(socket_, chunk, sizeof chunk, 0) <= 0)
            break;
    }
    return OnError(UTE_SUCCESS);
}

int CUT_WSClient::ReceiveFrom(char* buffer, int& size, int timeoutSeconds)
{
    if (socket_ == kInvalidSocket)
        return OnError(UTE_SOCK_NOT_OPEN);
    if (timeoutSeconds > 0 && !WaitForSocket(socket_, SocketEvent::Readable, timeoutSeconds, 0)) {
        size = 0;
        return OnError(UTE_SOCK_TIMEOUT);
    }
    sockaddr_in from{};
    socklen_t length = sizeof from;
    ssize_t count;
    do
        count = recvfrom(socket_, buffer, static_cast<size_t>(std::max(size, 0)), 0,
                         reinterpret_cast<sockaddr*>(&from), &length);
    while (count < 0 && errno == EINTR);
    if (count < 0) {
        size = 0;
        return OnError(UTE_SOCK_RECEIVE_ERROR);
    }
    size = static_cast<int>(count);
    peer_ = FromIpv4(from);
    return OnError(UTE_SUCCESS);
}

int CUT_WSClient::WaitReadable(int seconds, int microseconds)
{
    bool ready = RawWaitReadable(socket_, seconds, microseconds) == 0;
    return OnError(ready ? UTE_SUCCESS : UTE_ERROR);
}

std::string CUT_WSClient::FailureReason(int code) const
{
    Failure failure = FailureOfCode(code);
    // A name without an address ends an HTTP request as a bad URL.
    if (nameFailed_ && (failure == Failure::BadAddress || failure == Failure::UnknownHost))
        failure = Failure::UnknownHost;
    else if (code == UTE_SOCK_CONNECT_FAILED)
        failure = connectError_ == ECONNREFUSED ? Failure::Refused
            : connectError_ == ETIMEDOUT        ? Failure::NoAnswer
                                                : Failure::Unreachable;
    int seconds = 0;
    if (code == UTE_CONNECT_TIMEOUT)
        seconds = connectSeconds_;
    else if (code == UTE_NO_RESPONSE)
        seconds = (receiveTimeoutMs_ + 999) / 1000;
    return FailureLine(failure, seconds);
}

int CUT_WSClient::OnError(int code)
{
    return code;
}

int CUT_WSClient::OnReceiveProgress(long)
{
    return !IsAborted();
}

int CUT_WSClient::OnSendProgress(long)
{
    return !IsAborted();
}

bool CUT_WSClient::IsAborted()
{
    return false;
}

bool CUT_WSClient::ApplyTimeout(int option, int milliseconds)
{
    timeval value{};
    value.tv_sec = milliseconds / 1000;
    value.tv_usec = (milliseconds % 1000) * 1000;
    return setsockopt(socket_, SOL_SOCKET, option, &value, sizeof value) == 0;
}

void CUT_WSClient::ApplyTimeouts()
{
    ApplyTimeout(SO_RCVTIMEO, receiveTimeoutMs_);
    ApplyTimeout(SO_SNDTIMEO, sendTimeoutMs_);
}

void CUT_WSClient::RecordPorts()
{
    NetAddress local = LocalAddressOf(socket_);
    if (local.length > 0)
        localPort_ = local.Port();
    remotePort_ = peer_.Port();
}

int CUT_WSClient::SetReceiveTimeout(int milliseconds)
{
    if (milliseconds < 0 || (socket_ != kInvalidSocket && !ApplyTimeout(SO_RCVTIMEO, milliseconds)))
        return OnError(UTE_ERROR);
    receiveTimeoutMs_ = milliseconds;
    return OnError(UTE_SUCCESS);
}

int CUT_WSClient::SetSendTimeout(int milliseconds)
{
    if (milliseconds < 0 || (socket_ != kInvalidSocket && !ApplyTimeout(SO_SNDTIMEO, milliseconds)))
        return OnError(UTE_ERROR);
    sendTimeoutMs_ = milliseconds;
    return OnError(UTE_SUCCESS);
}

int CUT_WSClient::SetBlockingMode(int nonBlocking)
{
    if (socket_ == kInvalidSocket || !SetNonBlocking(socket_, nonBlocking != 0))
        return OnError(UTE_ERROR);
    return OnError(UTE_SUCCESS);
}

int CUT_WSClient::Resolve(const std::string& name, std::string& address, size_t size, int timeoutSeconds)
{
    size_t at = name.rfind('@');
    std::string host = at == std::string::npos ? name : name.substr(at + 1);
    std::vector<NetAddress> found;
    nameFailed_ = !LookUpAddresses(host, AF_INET, timeoutSeconds, found);
    if (nameFailed_)
        return UTE_NAME_LOOKUP_FAILED;
    std::string text = found.front().Text();
    if (text.size() >= size)
        return UTE_BUFFER_TOO_SHORT;
    address = text;
    return UTE_SUCCESS;
}

int CUT_WSClient::ResolveHost(const std::string& name, std::string& address, size_t size)
{
    return OnError(Resolve(name, address, size, sendTimeoutMs_ / 1000));
}

bool CUT_WSClient::IsDottedAddress(const std::string& text)
{
    in_addr address{};
    return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

int CUT_WSClient::GetLocalAddress(std::string& address, int fromSocket)
{
    if (fromSocket == 0) {
        char name[256] = {};
        if (gethostname(name, sizeof name - 1) == 0 && Resolve(name, address, 32, sendTimeoutMs_ / 1000) == UTE_SUCCESS)
            return OnError(UTE_SUCCESS);
    }
    NetAddress local = socket_ == kInvalidSocket ? NetAddress{} : LocalAddressOf(socket_);
    if (local.length == 0)
        return OnError(UTE_ERROR);
    address = local.Text();
    return OnError(UTE_SUCCESS);
}
