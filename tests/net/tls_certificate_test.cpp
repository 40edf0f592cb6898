// A fingerprint as a user pastes it is the fingerprint the station compares.
#include "net/tls_certificate.h"

#include <gtest/gtest.h>

TEST(NormalizedFingerprint, TakesTheFormsAUserPastesAndRefusesTheRest)
{
    const std::string digits = "ab" + std::string(60, '0') + "cd";
    std::string expected = "AB";
    for (int i = 0; i < 30; ++i)
        expected += ":00";
    expected += ":CD";
    const std::pair<std::string, std::string> rows[] = {
        {digits, expected},
        {expected, expected},
        {"sha256 Fingerprint=" + expected, expected},
        {" AB 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 CD ", expected},
        {digits + "00", ""},
        {digits.substr(2), ""},
        {"xy" + digits.substr(2), ""},
        {"", ""},
    };
    for (const auto& [pasted, normalized] : rows)
        EXPECT_EQ(NormalizedFingerprint(pasted), normalized) << pasted;
}
