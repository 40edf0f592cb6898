#include "net/tls_filter.h"

#include <openssl/bio.h>
#include <openssl/err.h>

#include <cerrno>
#include <chrono>
#include <sys/socket.h>

namespace {

TlsFilter& FilterOf(BIO* bio)
{
    return *static_cast<TlsFilter*>(BIO_get_data(bio));
}

int Flags(const TlsFilter& filter)
{
    return filter.WaitFree() ? MSG_DONTWAIT : 0;
}

int BioWrite(BIO* bio, const char* data, int length)
{
    TlsFilter& filter = FilterOf(bio);
    BIO_clear_retry_flags(bio);
    ssize_t count;
    do
        count = send(filter.Socket(), data, static_cast<size_t>(length), MSG_NOSIGNAL | Flags(filter));
    while (count < 0 && errno == EINTR);
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        BIO_set_retry_write(bio);
    return static_cast<int>(count);
}

int BioRead(BIO* bio, char* buffer, int size)
{
    TlsFilter& filter = FilterOf(bio);
    BIO_clear_retry_flags(bio);
    ssize_t count;
    do
        count = recv(filter.Socket(), buffer, static_cast<size_t>(size), Flags(filter));
    while (count < 0 && errno == EINTR);
    // A blocking receive whose time-out passed asks to be tried again as well.
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

// What a wait-free read gives when no whole record has come yet.
constexpr int kNothingYet = -2;

}  // namespace

TlsFilter::TlsFilter(SSL* ssl, SocketHandle socket) : ssl_(ssl), socket_(socket)
{
    BIO* bio = SocketMethod() ? BIO_new(SocketMethod()) : nullptr;
    if (bio) {
        BIO_set_data(bio, this);
        SSL_set_bio(ssl_, bio, bio);
    }
}

TlsFilter::~TlsFilter()
{
    SSL_free(ssl_);
}

bool TlsFilter::Await(int error, SocketDeadline deadline)
{
    if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE)
        return false;
    int seconds = 0;
    int microseconds = 0;
    return TimeLeft(deadline, seconds, microseconds)
        && WaitForSocket(socket_, error == SSL_ERROR_WANT_READ ? SocketEvent::Readable : SocketEvent::Writable,
                         seconds, microseconds);
}

bool TlsFilter::Handshake(SocketDeadline deadline)
{
    if (SSL_get_rbio(ssl_) == nullptr)
        return false;
    waitFree_ = true;
    for (;;) {
        ERR_clear_error();
        const int result = SSL_connect(ssl_);
        if (result == 1)
            break;
        if (!Await(SSL_get_error(ssl_, result), deadline)) {
            waitFree_ = false;
            broken_ = true;
            return false;
        }
    }
    waitFree_ = false;
    established_ = true;
    return true;
}

int TlsFilter::Read(char* buffer, int size, bool peek)
{
    if (size <= 0)
        return 0;
    ERR_clear_error();
    size_t count = 0;
    const int ok = peek ? SSL_peek_ex(ssl_, buffer, static_cast<size_t>(size), &count)
                        : SSL_read_ex(ssl_, buffer, static_cast<size_t>(size), &count);
    if (ok == 1)
        return static_cast<int>(count);
    const int error = SSL_get_error(ssl_, 0);
    // The peer's closing alert is the end of the stream; a connection cut without it is not.
    if (error == SSL_ERROR_ZERO_RETURN)
        return 0;
    if (waitFree_ && (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE))
        return kNothingYet;
    if (error == SSL_ERROR_SYSCALL || error == SSL_ERROR_SSL)
        broken_ = true;
    return -1;
}

int TlsFilter::Receive(char* buffer, int size, int flags)
{
    return Read(buffer, size, (flags & MSG_PEEK) != 0);
}

int TlsFilter::Send(const char* data, int length)
{
    if (length <= 0)
        return 0;
    ERR_clear_error();
    size_t count = 0;
    if (SSL_write_ex(ssl_, data, static_cast<size_t>(length), &count) == 1)
        return static_cast<int>(count);
    const int error = SSL_get_error(ssl_, 0);
    if (error == SSL_ERROR_SYSCALL || error == SSL_ERROR_SSL)
        broken_ = true;
    return -1;
}

int TlsFilter::WaitReadable(int seconds, int microseconds)
{
    // A readable socket may hold only part of a record, or a record without data (a
    // session ticket): data is there when a wait-free peek finds some.
    const SocketDeadline deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds < 0 ? 0 : seconds)
        + std::chrono::microseconds(microseconds < 0 ? 0 : microseconds);
    char byte = 0;
    for (bool first = true;; first = false) {
        if (SSL_pending(ssl_) > 0)
            return 0;
        if (!first) {
            int secondsLeft = 0;
            int microsecondsLeft = 0;
            TimeLeft(deadline, secondsLeft, microsecondsLeft);
            if (!WaitForSocket(socket_, SocketEvent::Readable, secondsLeft, microsecondsLeft))
                return 1;
        }
        waitFree_ = true;
        const int count = Read(&byte, 1, true);
        waitFree_ = false;
        // Data, the end of the stream or an error: the receive that follows tells which.
        if (count != kNothingYet)
            return 0;
    }
}

bool TlsFilter::DataAvailable()
{
    return SSL_pending(ssl_) > 0 || WaitReadable(0, 0) == 0;
}

int TlsFilter::Shutdown(int how)
{
    if (established_ && !broken_) {
        waitFree_ = true;
        SSL_shutdown(ssl_);
        // What the peer sent unasked (a late session ticket) is taken, so that closing
        // the socket does not reset the connection before the peer read the alert.
        char rest[4096];
        for (int i = 0; i < 16 && Read(rest, sizeof rest, false) > 0; ++i) {
        }
        waitFree_ = false;
    }
    return shutdown(socket_, how);
}
