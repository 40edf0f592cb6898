// The TLS of one log-in to a store: which certificate is accepted, the session that
// every data connection resumes, and why the last step failed.
//
// A certificate is accepted when it chains to an authority of the system, is valid now
// and names the host; or when its SHA-256 fingerprint is the pinned one. Nothing else is
// ever accepted.
#pragma once

#include "net/tls_certificate.h"
#include "net/ws_client.h"

#include <openssl/ssl.h>

#include <string>

enum class TlsRefusal {
    None,
    NoTls,               // the server did not take AUTH TLS
    HandshakeFailed,
    UnknownAuthority,
    WrongName,
    Expired,
    NotYetValid,
    FingerprintChanged,  // a pinned certificate was replaced
    ProtectionRefused,   // PBSZ or PROT refused: no protected data connections
};

class TlsContext {
public:
    TlsContext() = default;
    ~TlsContext();
    TlsContext(const TlsContext&) = delete;
    TlsContext& operator=(const TlsContext&) = delete;

    // Set before the log-in; an empty pin trusts the system's authorities alone.
    void Require(bool required, const std::string& pinnedFingerprint);
    bool Required() const { return required_; }

    // The handshake on the control connection (host as the user gave it) and the check of
    // the server's certificate; on success the connection runs through TLS from now on.
    // A result code; on failure the refusal says why.
    int SecureControl(CUT_WSClient& control, const std::string& host);
    // Every data connection of the log-in is protected from now on.
    void ProtectData() { dataProtected_ = true; }
    // The handshake on a new data connection, resuming the log-in's newest session; the
    // server must show the certificate of the control connection. UTE_SUCCESS at once
    // while data connections are not protected.
    int SecureData(CUT_WSClient& data, SocketHandle socket);

    // Records why TLS could not be had; the result code that goes with it.
    int Refuse(TlsRefusal refusal);
    // The refusal in German, one line; empty without one.
    std::string RefusalText() const;
    // The certificate that was not accepted; empty unless the refusal is about it.
    const TlsCertificate& RefusedCertificate() const { return refused_; }

    // Forgets the log-in: context, session, refusal. The requirement and the pin stay.
    void Reset();

private:
    bool MakeContext();
    SSL* NewSsl() const;
    TlsRefusal Check(SSL* ssl);
    static int KeepSession(SSL* ssl, SSL_SESSION* session);

    bool required_ = false;
    std::string pin_;
    std::string host_;
    SSL_CTX* context_ = nullptr;
    SSL_SESSION* session_ = nullptr;
    // The certificate the control connection accepted.
    std::string fingerprint_;
    bool dataProtected_ = false;
    TlsRefusal refusal_ = TlsRefusal::None;
    TlsCertificate refused_;
};
