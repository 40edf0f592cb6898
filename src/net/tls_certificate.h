// What a user is shown of a server's certificate before trusting it, and the
// fingerprint the trust is kept as.
#pragma once

#include <openssl/x509.h>

#include <string>

struct TlsCertificate {
    std::string subject;
    std::string issuer;
    std::string validFrom;   // "dd.mm.yyyy hh:mm UTC"
    std::string validUntil;
    std::string fingerprint;  // SHA-256, as CertificateFingerprint writes it

    bool Empty() const { return fingerprint.empty(); }
};

TlsCertificate DescribeCertificate(X509* certificate);
// The SHA-256 of the certificate in upper-case hexadecimal pairs joined by ":".
std::string CertificateFingerprint(X509* certificate);
// A fingerprint as a user may paste it (any case, pairs joined by ":" or blanks or not
// at all, after a "SHA256 Fingerprint=" label) in the form CertificateFingerprint
// writes; empty when it holds no SHA-256 fingerprint.
std::string NormalizedFingerprint(const std::string& text);
