// A fingerprint as a user pastes it is the fingerprint the station compares.
#include "net/tls_certificate.h"

#include <gtest/gtest.h>

TEST(NormalizedFingerprint, TakesTheFormsAUserPastesAndRefusesTheRest)
{
    const std::string fingerprint = "AB:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:"
                                    "00:00:00:CD";
    const std::string digits = "ab" + std::string(60, '0') + "cd";
    const std::pair<std::string, std::string> rows[] = {
        {digits, fingerprint},
        {fingerprint, fingerprint},
        {"sha256 Fingerprint=" + fingerprint, fingerprint},
        {" AB 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 CD ", fingerprint},
        {digits + "00", ""},
        {digits.substr(2), ""},
        {"xy" + digits.substr(2), ""},
    };
    for (const auto& [pasted, normalized] : rows)
        EXPECT_EQ(NormalizedFingerprint(pasted), normalized) << pasted;
}
