// TLS (OpenSSL) on one connection socket, as the client end. OpenSSL never waits in the
// socket itself: the filter waits for it, so a receive or a send takes no longer than
// the socket's receive or send time-out, however slowly a record trickles in, and the
// handshake and the closing alert no longer than they are given. Writes never raise
// SIGPIPE.
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

    SocketHandle Socket() const override { return socket_; }
    int Receive(char* buffer, int size, int flags) override;
    int Send(const char* data, int length) override;
    bool DataAvailable() override;
    int WaitReadable(int seconds, int microseconds) override;
    int Shutdown(int how) override;

private:
    // The outcome of one OpenSSL call: done (result), or waiting for the socket until
    // the deadline and then trying again; kNothingYet when a call without a deadline
    // would have to wait.
    int Finish(int ok, size_t count, const SocketDeadline* deadline);
    int Read(char* buffer, int size, bool peek, const SocketDeadline* deadline);
    // The deadline of the socket's receive or send time-out from now.
    SocketDeadline TimeoutFromNow(int option) const;

    SSL* ssl_;
    SocketHandle socket_;
    // After a fatal error the connection must not be used again, not even for the alert.
    bool broken_ = false;
    bool established_ = false;
};
