// The blocking socket client (TCP and datagram; IPv4, and IPv6 for streams) under the FTP
// and HTTP clients:
// connects with a time-out, receives text line by line, moves whole sources, and hands
// every outcome as a result code through OnError.
#pragma once

#include "net/low_speed_limit.h"
#include "net/name_lookup.h"
#include "net/socket_filter.h"
#include "net/socket_layer.h"
#include "net/socket_wait.h"
#include "net/transfer_source.h"

#include <memory>
#include <netinet/in.h>
#include <string>

namespace SocketDefaults {
constexpr int kFamily = 2;      // IPv4
constexpr int kAnyFamily = 0;   // IPv6 or IPv4, whichever the name has (streams only)
constexpr int kStream = 1;
constexpr int kDatagram = 2;
constexpr int kTimeoutMs = 30000;
}  // namespace SocketDefaults

class CUT_WSClient : public SocketLayer {
public:
    CUT_WSClient() = default;
    ~CUT_WSClient() override;
    CUT_WSClient(const CUT_WSClient&) = delete;
    CUT_WSClient& operator=(const CUT_WSClient&) = delete;

    // A time-out of 0 or more seconds bounds the name look-up and the connect; a negative
    // one leaves them to the send time-out. With several addresses each is tried in turn.
    virtual int Connect(int port, const std::string& host, int timeoutSeconds = -1,
                        int family = SocketDefaults::kFamily, int type = SocketDefaults::kStream);
    virtual int ConnectBound(int localPort, int remotePort, const std::string& localAddress,
                             const std::string& remoteAddress, int family = SocketDefaults::kFamily,
                             int type = SocketDefaults::kStream);
    virtual int OpenDatagram(int localPort, int remotePort, const std::string& remoteAddress,
                             const std::string& localAddress = "");
    virtual int CreateSocket(SocketHandle& socket, int family, int type, int protocol);
    // Closes the connection and the listening socket.
    virtual int CloseConnection();

    // An empty address listens on every local address; port 0 takes any free port.
    virtual int Listen(int port, int backlog, int family = SocketDefaults::kFamily,
                       const std::string& address = "");
    virtual int WaitForAccept(int seconds);
    virtual int AcceptConnection();

    virtual int SendFromOpenSource(TransferSource& source);
    virtual int SendFromSource(TransferSource& source);
    // One send; a length of 0 or less sends the text up to its NUL. The count sent, 0 on error.
    virtual int Send(const char* data, int length = 0);
    virtual int SendAll(const char* data, int length);
    // The text in pieces of blockSize bytes, each followed by CR LF; the text bytes sent.
    virtual int SendInLines(const char* text, int length, int blockSize);
    virtual int SendFile(const std::string& path);
    virtual int SendTo(const char* data, int& length);
    virtual int WaitWritable(int seconds, int microseconds = 0);

    virtual int ReceiveToOpenSource(TransferSource& source, int timeoutSeconds = 0, long maxLength = 0);
    virtual int ReceiveToSource(TransferSource& source, int mode, int timeoutSeconds = 0, long maxLength = 0);
    // One receive: the count, 0 when the peer closed or the wait ran out, -1 on error.
    virtual int Receive(char* buffer, int size, int timeoutSeconds = 0);
    virtual int ReceiveExact(char* buffer, int size, int timeoutSeconds = 0);
    virtual int ReceiveFile(const std::string& path, int mode, int timeoutSeconds = 0);
    // One line of at most size-1 bytes with its line end, never reading past it.
    // The length, 0 when nothing came.
    virtual int ReceiveLine(std::string& line, int size, int timeoutSeconds = 0);
    // One line read to its line end before the deadline: the first maxKept bytes of its
    // text are kept, the rest dropped, and its line end ("\n" or "\r\n") follows them.
    // UTE_SUCCESS with a whole line; UTE_CONNECT_TERMINATED when the peer closed first
    // (line holds what came); UTE_SOCK_TIMEOUT, UTE_SOCK_RECEIVE_ERROR or UTE_ABORTED.
    int ReceiveLineWithin(std::string& line, size_t maxKept, SocketDeadline deadline);
    // The deadline of a wait of the receive time-out from now.
    SocketDeadline ReceiveDeadline() const;
    virtual int ClearReceiveBuffer();
    virtual int ReceiveFrom(char* buffer, int& size, int timeoutSeconds);
    virtual int WaitReadable(int seconds, int microseconds = 0);

    // Every result passes through here; the default keeps it.
    virtual int OnError(int code);
    // Nonzero to go on; the default is the negation of IsAborted.
    virtual int OnReceiveProgress(long bytesSoFar);
    virtual int OnSendProgress(long bytesSoFar);
    virtual bool IsAborted();

    // Stored for the next connection as well; with a connection open, only when the
    // option could be set on it.
    int SetReceiveTimeout(int milliseconds);
    int SetSendTimeout(int milliseconds);
    int GetReceiveTimeout() const { return receiveTimeoutMs_; }
    // A transfer into a source that moves fewer than bytes within milliseconds ends with
    // UTE_SOCK_TIMEOUT.
    void SetLowSpeedLimit(long bytes, int milliseconds);
    int GetSendTimeout() const { return sendTimeoutMs_; }
    int SetBlockingMode(int nonBlocking);
    // The first IPv4 address of the name in dotted form; text up to the last "@" is skipped.
    // A transport under the raw-call slots may answer names itself.
    virtual int ResolveHost(const std::string& name, std::string& address, size_t size = 32);
    static bool IsDottedAddress(const std::string& text);
    // fromSocket 0: the machine's own address if its name resolves; otherwise, and with 1,
    // the local address of the connection.
    int GetLocalAddress(std::string& address, int fromSocket);

    bool IsConnected() const { return socket_ != kInvalidSocket; }
    // The peer's numeric address (dotted for IPv4).
    const std::string& GetAddress() const { return address_; }
    int GetRemotePort() const { return remotePort_; }
    int GetLocalPort() const { return localPort_; }
    int GetListenPort() const { return listenPort_; }
    // The address family of the connection (AF_INET or AF_INET6).
    int GetFamily() const { return peer_.Family(); }
    SocketHandle GetSocket() const { return socket_; }
    // Why a call that gave this result code failed, as the user is told it: the code,
    // and for a connect what the system said of it (failure_reason.h).
    std::string FailureReason(int code) const;

    // A filter under the raw calls of the open connection (TLS), until it closes
    // (ws_client_filter.cpp).
    void SetFilter(std::unique_ptr<SocketFilter> filter) { filter_ = std::move(filter); }
    int RawClose(SocketHandle socket) override;
    int RawShutdown(SocketHandle socket, int how) override;
    int RawReceive(SocketHandle socket, char* buffer, int size, int flags) override;
    int RawSend(SocketHandle socket, const char* data, int length, int flags) override;
    bool RawDataAvailable(SocketHandle socket) override;
    int RawWaitReadable(SocketHandle socket, int seconds, int microseconds) override;

protected:
    // Shuts down and closes the connection socket only; false if a call failed.
    bool CloseConnectionSocket();
    // Takes the handle as the open connection, for a transport that lives entirely
    // under the raw-call slots.
    void AdoptConnection(SocketHandle socket);

private:
    int ConnectSocket(const std::string& host, int timeoutSeconds);
    int ConnectTo(const NetAddress& address, int type, const std::string& host, int timeoutSeconds);
    int Resolve(const std::string& name, std::string& address, size_t size, int timeoutSeconds);
    int ReceiveChunks(TransferSource& source, int chunkSize, int timeoutSeconds, long maxLength);
    // Whether something came, or the peer closed, within the receive time-out.
    bool ReceiveWaitEnds();
    int SendChunks(TransferSource& source);
    bool ApplyTimeout(int option, int milliseconds);
    void ApplyTimeouts();
    void RecordPorts();

    int remotePort_ = 0;
    int localPort_ = 0;
    int listenPort_ = 0;
    std::string address_;
    int protocol_ = 0;
    int socketType_ = SocketDefaults::kStream;
    SocketHandle socket_ = kInvalidSocket;
    NetAddress peer_;
    SocketHandle listenSocket_ = kInvalidSocket;
    int sendTimeoutMs_ = SocketDefaults::kTimeoutMs;
    int receiveTimeoutMs_ = SocketDefaults::kTimeoutMs;
    long lowSpeedBytes_ = LowSpeedLimit::kBytes;
    int lowSpeedMs_ = LowSpeedLimit::kMilliseconds;
    std::unique_ptr<SocketFilter> filter_;
    // Of the last connect: the system's error of a failed one, whether the name gave no
    // address, and the seconds it was given.
    int connectError_ = 0;
    bool nameFailed_ = false;
    int connectSeconds_ = 0;
};
