// TLS (OpenSSL) on one connection socket, as the client end. The socket stays blocking
// with its send and receive time-outs; the handshake, the wait for readable data and the
// closing alert never wait longer than they are given. Writes never raise SIGPIPE.
#pragma once

#include "net/socket_filter.h"
#include "net/socket_wait.h"

#include <openssl/ssl.h>

class TlsFilter : public SocketFilter {
public:
    // Takes the SSL object, which must not have a BIO yet.
    TlsFilter(SSL* ssl, SocketHandle socket);
    ~TlsFilter() override;
    TlsFilter(const TlsFilter&) = delete;
    TlsFilter& operator=(const TlsFilter&) = delete;

    // The client's handshake, done before the deadline; false when it failed.
    bool Handshake(SocketDeadline deadline);
    SSL* Ssl() const { return ssl_; }

    SocketHandle Socket() const override { return socket_; }
    int Receive(char* buffer, int size, int flags) override;
    int Send(const char* data, int length) override;
    bool DataAvailable() override;
    int WaitReadable(int seconds, int microseconds) override;
    int Shutdown(int how) override;

    // The socket calls of the filter's BIO: a wait-free call comes back at once when the
    // socket has nothing to give or take.
    bool WaitFree() const { return waitFree_; }

private:
    // One read or peek; a wait-free one that found no whole record gives -2.
    int Read(char* buffer, int size, bool peek);
    // Waits until the socket can give (or take) what OpenSSL asked for; false after the deadline.
    bool Await(int error, SocketDeadline deadline);

    SSL* ssl_;
    SocketHandle socket_;
    bool waitFree_ = false;
    // After a fatal error the connection must not be used again, not even for the alert.
    bool broken_ = false;
    bool established_ = false;
};
