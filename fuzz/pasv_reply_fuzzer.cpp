// The FTP server's reply to PASV, which names the data connection's address and port.
//
// Input: the reply text after the code.
//
// Promises checked against the reply format worked out here: a reply without "(" is
// refused as such; the address is made of the first four fields and must be a dotted
// address; the port is the fifth field times 256 plus the sixth, and anything outside
// 1 to 65535 is refused, and so are numbers whose product or sum pass the range of long;
// a usable reply gives both exactly.

#include "fuzz_check.h"
#include "net/passive_reply.h"

#include <arpa/inet.h>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool IsSeparator(char c)
{
    return c == ',' || c == ')' || c == '\r' || c == '\n';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const PassiveReply reply = ParsePassiveReply(text);

    const std::size_t open = text.find('(');
    if (open == std::string::npos) {
        FUZZ_CHECK(reply.form == PassiveReply::Form::NoParenthesis);
        return 0;
    }
    std::vector<std::string> fields;
    std::string field;
    for (std::size_t i = open + 1; i <= text.size(); ++i) {
        if (i == text.size() || IsSeparator(text[i])) {
            if (!field.empty())
                fields.push_back(field);
            field.clear();
        } else {
            field += text[i];
        }
    }
    fields.resize(std::max<std::size_t>(fields.size(), 6));
    const std::string address = fields[0] + "." + fields[1] + "." + fields[2] + "." + fields[3];
    in_addr parsed{};
    const bool dotted = inet_pton(AF_INET, address.c_str(), &parsed) == 1;
    // The numbers as they are written, in a width that holds any product; a product or
    // sum beyond long is refused as well.
    const __int128 high = static_cast<__int128>(std::strtol(fields[4].c_str(), nullptr, 10)) * 256;
    const __int128 port = high + std::strtol(fields[5].c_str(), nullptr, 10);
    const bool beyondLong = high < LONG_MIN || high > LONG_MAX || port < LONG_MIN || port > LONG_MAX;

    if (!dotted) {
        FUZZ_CHECK(reply.form == PassiveReply::Form::BadAddress);
    } else if (beyondLong || port < 1 || port > 65535) {
        FUZZ_CHECK(reply.form == PassiveReply::Form::BadPort);
    } else {
        FUZZ_CHECK(reply.form == PassiveReply::Form::Usable);
        FUZZ_CHECK(reply.address == address);
        FUZZ_CHECK(reply.port == static_cast<long>(port));
    }
    return 0;
}
