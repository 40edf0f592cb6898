#include "net/tls_filter.h"

#include <openssl/bio.h>
#include <openssl/err.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <sys/socket.h>

namespace {

// What a call that may not wait gives when the socket has nothing for it yet.
constexpr int kNothingYet = -2;
// A record is read in one piece of up to this size where it has come.
constexpr long kReadAhead = 64 * 1024;

SocketHandle SocketOf(BIO* bio)
{
    return static_cast<SocketHandle>(reinterpret_cast<intptr_t>(BIO_get_data(bio)));
}

int BioWrite(BIO* bio, const char* data, int length)
{
    BIO_clear_retry_flags(bio);
    ssize_t count;
    do
        count = send(SocketOf(bio), data, static_cast<size_t>(length), MSG_NOSIGNAL | MSG_DONTWAIT);
    while (count < 0 && errno == EINTR);
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        BIO_set_retry_write(bio);
    return static_cast<int>(count);
}

int BioRead(BIO* bio, char* buffer, int size)
{
    BIO_clear_retry_flags(bio);
    ssize_t count;
    do
        count = recv(SocketOf(bio), buffer, static_cast<size_t>(size), MSG_DONTWAIT);
    while (count < 0 && errno == EINTR);
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        BIO_set_retry_read(bio);
    return static_cast<int>(count);
}

long BioControl(BIO*, int command, long, void*)
{
    return command == BIO_CTRL_FLUSH ? 1 : 0;
}

int BioCreate(BIO* bio)
{
    BIO_set_init(bio, 1);
    return 1;
}

BIO_METHOD* SocketMethod()
{
    static BIO_METHOD* const method = [] {
        BIO_METHOD* made = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "station socket");
        if (made) {
            BIO_meth_set_write(made, BioWrite);
            BIO_meth_set_read(made, BioRead);
            BIO_meth_set_ctrl(made, BioControl);
            BIO_meth_set_create(made, BioCreate);
        }
        return made;
    }();
    return method;
}

}  // namespace

TlsFilter::TlsFilter(SSL* ssl, SocketHandle socket) : ssl_(ssl), socket_(socket)
{
    BIO* bio = SocketMethod() ? BIO_new(SocketMethod()) : nullptr;
    if (bio) {
        BIO_set_data(bio, reinterpret_cast<void*>(static_cast<intptr_t>(socket)));
        SSL_set_bio(ssl_, bio, bio);
    }
    SSL_set_read_ahead(ssl_, 1);
    SSL_set_default_read_buffer_len(ssl_, kReadAhead);
}

TlsFilter::~TlsFilter()
{
    SSL_free(ssl_);
}

SocketDeadline TlsFilter::TimeoutFromNow(int option) const
{
    timeval value{};
    socklen_t length = sizeof value;
    long milliseconds = 0;
    if (getsockopt(socket_, SOL_SOCKET, option, &value, &length) == 0)
        milliseconds = value.tv_sec * 1000L + value.tv_usec / 1000;
    // No time-out on the socket: as long as a day.
    return DeadlineAfterMs(milliseconds > 0 ? static_cast<int>(milliseconds) : 24 * 3600 * 1000);
}

int TlsFilter::Finish(int ok, size_t count, const SocketDeadline* deadline)
{
    if (ok == 1)
        return static_cast<int>(count);
    const int error = SSL_get_error(ssl_, 0);
    // The peer's closing alert ends the stream; a connection cut without it is an error.
    if (error == SSL_ERROR_ZERO_RETURN)
        return 0;
    if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
        if (!deadline)
            return kNothingYet;
        int seconds = 0;
        int microseconds = 0;
        const SocketEvent event = error == SSL_ERROR_WANT_READ ? SocketEvent::Readable : SocketEvent::Writable;
        if (TimeLeft(*deadline, seconds, microseconds) && WaitForSocket(socket_, event, seconds, microseconds))
            return kNothingYet;
        errno = EAGAIN;
        return -1;
    }
    broken_ = true;
    return -1;
}

bool TlsFilter::Handshake(SocketDeadline deadline)
{
    if (SSL_get_rbio(ssl_) == nullptr)
        return false;
    int result;
    do {
        ERR_clear_error();
        const int ok = SSL_connect(ssl_);
        result = Finish(ok == 1 ? 1 : 0, 0, &deadline);
    } while (result == kNothingYet);
    established_ = result == 0 && SSL_is_init_finished(ssl_);
    broken_ = !established_;
    return established_;
}

int TlsFilter::Read(char* buffer, int size, bool peek, const SocketDeadline* deadline)
{
    if (size <= 0)
        return 0;
    int result;
    do {
        ERR_clear_error();
        size_t count = 0;
        const int ok = peek ? SSL_peek_ex(ssl_, buffer, static_cast<size_t>(size), &count)
                            : SSL_read_ex(ssl_, buffer, static_cast<size_t>(size), &count);
        result = Finish(ok, count, deadline);
    } while (result == kNothingYet && deadline);
    return result;
}

int TlsFilter::Receive(char* buffer, int size, int flags)
{
    const bool peek = (flags & MSG_PEEK) != 0;
    int count = Read(buffer, size, peek, nullptr);
    if (count == kNothingYet) {
        const SocketDeadline deadline = TimeoutFromNow(SO_RCVTIMEO);
        count = Read(buffer, size, peek, &deadline);
    }
    // As from a socket, a receive takes all that has come, not one record only.
    while (!peek && count > 0 && count < size) {
        const int more = Read(buffer + count, size - count, false, nullptr);
        if (more <= 0)
            break;
        count += more;
    }
    return count;
}

int TlsFilter::Send(const char* data, int length)
{
    if (length <= 0)
        return 0;
    SocketDeadline deadline{};
    bool waiting = false;
    int result;
    do {
        ERR_clear_error();
        size_t count = 0;
        const int ok = SSL_write_ex(ssl_, data, static_cast<size_t>(length), &count);
        if (ok != 1 && !waiting) {
            deadline = TimeoutFromNow(SO_SNDTIMEO);
            waiting = true;
        }
        result = Finish(ok, count, &deadline);
    } while (result == kNothingYet);
    return result > 0 ? result : -1;
}

int TlsFilter::WaitReadable(int seconds, int microseconds)
{
    // A readable socket may hold only part of a record, or a record without data (a
    // session ticket): data is there when a peek finds some.
    const SocketDeadline deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds < 0 ? 0 : seconds)
        + std::chrono::microseconds(microseconds < 0 ? 0 : microseconds);
    char byte = 0;
    for (;;) {
        // Data, the end of the stream or an error: the receive that follows tells which.
        if (SSL_pending(ssl_) > 0 || Read(&byte, 1, true, nullptr) != kNothingYet)
            return 0;
        int secondsLeft = 0;
        int microsecondsLeft = 0;
        TimeLeft(deadline, secondsLeft, microsecondsLeft);
        if (!WaitForSocket(socket_, SocketEvent::Readable, secondsLeft, microsecondsLeft))
            return 1;
    }
}

bool TlsFilter::DataAvailable()
{
    return WaitReadable(0, 0) == 0;
}

int TlsFilter::Shutdown(int how)
{
    if (established_ && !broken_) {
        SSL_shutdown(ssl_);
        // What the peer sent unasked (a late session ticket) is taken, so that closing
        // the socket does not reset the connection before the peer read the alert.
        char rest[4096];
        for (int i = 0; i < 16 && Read(rest, sizeof rest, false, nullptr) > 0; ++i) {
        }
    }
    return shutdown(socket_, how);
}
