#include "net/tls_context.h"

#include "net/result_codes.h"
#include "net/tls_filter.h"

#include <openssl/x509v3.h>

#include <arpa/inet.h>
#include <memory>

namespace {

// The host name without a "user@" in front.
std::string HostPart(const std::string& host)
{
    const size_t at = host.rfind('@');
    return at == std::string::npos ? host : host.substr(at + 1);
}

bool IsAddress(const std::string& host)
{
    unsigned char address[sizeof(in6_addr)];
    return inet_pton(AF_INET, host.c_str(), address) == 1 || inet_pton(AF_INET6, host.c_str(), address) == 1;
}

}  // namespace

TlsContext::~TlsContext()
{
    Reset();
}

void TlsContext::Require(bool required, const std::string& pinnedFingerprint)
{
    required_ = required;
    pin_ = NormalizedFingerprint(pinnedFingerprint);
}

void TlsContext::Reset()
{
    SSL_SESSION_free(session_);
    session_ = nullptr;
    SSL_CTX_free(context_);
    context_ = nullptr;
    fingerprint_.clear();
    dataProtected_ = false;
    refusal_ = TlsRefusal::None;
    refused_ = {};
}

bool TlsContext::MakeContext()
{
    SSL_CTX_free(context_);
    context_ = SSL_CTX_new(TLS_client_method());
    if (!context_)
        return false;
    SSL_CTX_set_min_proto_version(context_, TLS1_2_VERSION);
    // The chain is checked after the handshake, so that the refusal can say why.
    SSL_CTX_set_verify(context_, SSL_VERIFY_NONE, nullptr);
    SSL_CTX_set_default_verify_paths(context_);
    SSL_CTX_set_mode(context_, SSL_MODE_ENABLE_PARTIAL_WRITE);
    SSL_CTX_set_session_cache_mode(context_, SSL_SESS_CACHE_CLIENT | SSL_SESS_CACHE_NO_INTERNAL_STORE);
    SSL_CTX_sess_set_new_cb(context_, KeepSession);
    SSL_CTX_set_app_data(context_, this);
    return true;
}

SSL* TlsContext::NewSsl() const
{
    SSL* ssl = SSL_new(context_);
    if (!ssl)
        return nullptr;
    if (IsAddress(host_)) {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), host_.c_str());
    } else {
        SSL_set_tlsext_host_name(ssl, host_.c_str());
        SSL_set1_host(ssl, host_.c_str());
    }
    return ssl;
}

int TlsContext::KeepSession(SSL* ssl, SSL_SESSION* session)
{
    // The newest session of the log-in's connections is the one the next data connection
    // resumes. Under TLS 1.3 sessions come after the handshake, with the first data.
    auto* self = static_cast<TlsContext*>(SSL_CTX_get_app_data(SSL_get_SSL_CTX(ssl)));
    if (!self)
        return 0;
    SSL_SESSION_free(self->session_);
    self->session_ = session;
    return 1;
}

TlsRefusal TlsContext::Check(SSL* ssl)
{
    X509* certificate = SSL_get0_peer_certificate(ssl);
    if (!certificate)
        return TlsRefusal::UnknownAuthority;
    if (!pin_.empty() && CertificateFingerprint(certificate) == pin_)
        return TlsRefusal::None;
    const long result = SSL_get_verify_result(ssl);
    if (result == X509_V_OK)
        return TlsRefusal::None;
    if (!pin_.empty())
        return TlsRefusal::FingerprintChanged;
    switch (result) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
        return TlsRefusal::Expired;
    case X509_V_ERR_CERT_NOT_YET_VALID:
        return TlsRefusal::NotYetValid;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        return TlsRefusal::WrongName;
    default:
        return TlsRefusal::UnknownAuthority;
    }
}

int TlsContext::SecureControl(CUT_WSClient& control, const std::string& host)
{
    host_ = HostPart(host);
    if (!MakeContext())
        return Refuse(TlsRefusal::HandshakeFailed);
    SSL* ssl = NewSsl();
    if (!ssl)
        return Refuse(TlsRefusal::HandshakeFailed);
    auto filter = std::make_unique<TlsFilter>(ssl, control.GetSocket());
    if (!filter->Handshake(control.ReceiveDeadline()))
        return Refuse(TlsRefusal::HandshakeFailed);
    const TlsRefusal verdict = Check(ssl);
    if (verdict != TlsRefusal::None) {
        const int code = Refuse(verdict);
        refused_ = DescribeCertificate(SSL_get0_peer_certificate(ssl));
        return code;
    }
    fingerprint_ = CertificateFingerprint(SSL_get0_peer_certificate(ssl));
    control.SetFilter(std::move(filter));
    return UTE_SUCCESS;
}

int TlsContext::SecureData(CUT_WSClient& data, SocketHandle socket)
{
    if (!dataProtected_)
        return UTE_SUCCESS;
    SSL* ssl = NewSsl();
    if (!ssl)
        return UTE_HANDSHAKE_FAILED;
    // A copy: a TLS 1.3 session that was resumed once is not offered again, but the
    // server may take it again when no newer one came.
    SSL_SESSION* resumed = session_ ? SSL_SESSION_dup(session_) : nullptr;
    if (resumed) {
        SSL_set_session(ssl, resumed);
        SSL_SESSION_free(resumed);
    }
    auto filter = std::make_unique<TlsFilter>(ssl, socket);
    if (!filter->Handshake(data.ReceiveDeadline()))
        return UTE_HANDSHAKE_FAILED;
    if (CertificateFingerprint(SSL_get0_peer_certificate(ssl)) != fingerprint_)
        return UTE_FAILED_TO_VERIFY_CERTIFICATE_TRUST;
    data.SetFilter(std::move(filter));
    return UTE_SUCCESS;
}

int TlsContext::Refuse(TlsRefusal refusal)
{
    refusal_ = refusal;
    refused_ = {};
    switch (refusal) {
    case TlsRefusal::None:
        return UTE_SUCCESS;
    case TlsRefusal::NoTls:
    case TlsRefusal::ProtectionRefused:
        return UTE_CONNECT_FAIL_NO_SSL_SUPPORT;
    case TlsRefusal::HandshakeFailed:
        return UTE_HANDSHAKE_FAILED;
    case TlsRefusal::UnknownAuthority:
        return UTE_FAILED_TO_VERIFY_CERTIFICATE_CHAIN;
    case TlsRefusal::Expired:
    case TlsRefusal::NotYetValid:
        return UTE_CERTIFICATE_INVALID_DATE;
    case TlsRefusal::WrongName:
    case TlsRefusal::FingerprintChanged:
        return UTE_FAILED_TO_VERIFY_CERTIFICATE_TRUST;
    }
    return UTE_ERROR;
}

std::string TlsContext::RefusalText() const
{
    switch (refusal_) {
    case TlsRefusal::None:
        return "";
    case TlsRefusal::NoTls:
        return "Der Server bietet kein TLS an";
    case TlsRefusal::HandshakeFailed:
        return "Die TLS-Verbindung zum Server kam nicht zustande";
    case TlsRefusal::UnknownAuthority:
        return "Das Zertifikat des Servers stammt von keiner bekannten Zertifizierungsstelle";
    case TlsRefusal::WrongName:
        return "Das Zertifikat des Servers ist nicht auf den Namen " + host_ + " ausgestellt";
    case TlsRefusal::Expired:
        return "Das Zertifikat des Servers ist abgelaufen";
    case TlsRefusal::NotYetValid:
        return "Das Zertifikat des Servers ist noch nicht gültig";
    case TlsRefusal::FingerprintChanged:
        return "Der Fingerabdruck des Server-Zertifikats hat sich geändert";
    case TlsRefusal::ProtectionRefused:
        return "Der Server verweigert verschlüsselte Datenverbindungen";
    }
    return "";
}
