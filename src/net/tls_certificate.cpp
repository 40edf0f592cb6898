#include "net/tls_certificate.h"

#include <openssl/asn1.h>
#include <openssl/bio.h>
#include <openssl/evp.h>

#include <cctype>
#include <ctime>
#include <memory>

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

std::string NameText(const X509_NAME* name)
{
    std::unique_ptr<BIO, decltype(&BIO_free)> text(BIO_new(BIO_s_mem()), BIO_free);
    if (!text || !name || X509_NAME_print_ex(text.get(), name, 0, XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB) < 0)
        return "";
    char* data = nullptr;
    const long length = BIO_get_mem_data(text.get(), &data);
    return length > 0 ? std::string(data, static_cast<size_t>(length)) : std::string();
}

std::string TimeText(const ASN1_TIME* time)
{
    std::tm parts{};
    if (!time || ASN1_TIME_to_tm(time, &parts) != 1)
        return "";
    char text[32];
    return std::strftime(text, sizeof text, "%d.%m.%Y %H:%M UTC", &parts) ? text : "";
}

}  // namespace

TlsCertificate DescribeCertificate(X509* certificate)
{
    if (!certificate)
        return {};
    return {NameText(X509_get_subject_name(certificate)), NameText(X509_get_issuer_name(certificate)),
            TimeText(X509_get0_notBefore(certificate)), TimeText(X509_get0_notAfter(certificate)),
            CertificateFingerprint(certificate)};
}

std::string CertificateFingerprint(X509* certificate)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!certificate || X509_digest(certificate, EVP_sha256(), digest, &length) != 1)
        return "";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        if (i > 0)
            text += ':';
        text += kHex[digest[i] >> 4];
        text += kHex[digest[i] & 0x0F];
    }
    return text;
}

std::string NormalizedFingerprint(const std::string& text)
{
    const size_t label = text.rfind('=');
    std::string digits;
    for (char c : label == std::string::npos ? text : text.substr(label + 1)) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (std::isxdigit(byte))
            digits += static_cast<char>(std::toupper(byte));
        else if (c != ':' && !std::isspace(byte))
            return "";
    }
    if (digits.size() != 64)
        return "";
    std::string fingerprint;
    for (size_t i = 0; i < digits.size(); i += 2)
        fingerprint += (i > 0 ? ":" : "") + digits.substr(i, 2);
    return fingerprint;
}
