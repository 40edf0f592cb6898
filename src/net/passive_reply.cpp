#include "net/passive_reply.h"

#include "net/ws_client.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// The fields of a text split at any of the separators, empty fields left out.
std::vector<std::string> Fields(const std::string& text, const char* separators)
{
    std::vector<std::string> fields;
    size_t start = text.find_first_not_of(separators);
    while (start != std::string::npos) {
        size_t end = text.find_first_of(separators, start);
        fields.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? end : text.find_first_not_of(separators, end);
    }
    return fields;
}

}  // namespace

PassiveReply ParsePassiveReply(const std::string& text)
{
    PassiveReply reply;
    size_t open = text.find('(');
    if (open == std::string::npos)
        return reply;
    std::vector<std::string> fields = Fields(text.substr(open + 1), ",)\r\n");
    fields.resize(std::max<size_t>(fields.size(), 6));
    reply.address = fields[0] + "." + fields[1] + "." + fields[2] + "." + fields[3];
    // A server may write numbers of any size; one whose product or sum passes the range
    // of long is no port either.
    const long high = std::strtol(fields[4].c_str(), nullptr, 10);
    const long low = std::strtol(fields[5].c_str(), nullptr, 10);
    const bool overflow = __builtin_mul_overflow(high, 256L, &reply.port)
        || __builtin_add_overflow(reply.port, low, &reply.port);
    if (!CUT_WSClient::IsDottedAddress(reply.address))
        reply.form = PassiveReply::Form::BadAddress;
    else if (overflow || reply.port < 1 || reply.port > 65535)
        reply.form = PassiveReply::Form::BadPort;
    else
        reply.form = PassiveReply::Form::Usable;
    return reply;
}

PassiveReply ParseExtendedPassiveReply(const std::string& text)
{
    PassiveReply reply;
    size_t open = text.find('(');
    if (open == std::string::npos || open + 1 >= text.size())
        return reply;
    const char delimiter = text[open + 1];
    reply.form = PassiveReply::Form::BadPort;
    size_t portStart = open + 1;
    for (int field = 0; field < 3; ++field) {
        portStart = text.find(delimiter, portStart);
        if (portStart == std::string::npos)
            return reply;
        ++portStart;
    }
    const size_t portEnd = text.find(delimiter, portStart);
    if (portEnd == std::string::npos || portEnd == portStart || portEnd - portStart > 5)
        return reply;
    const std::string digits = text.substr(portStart, portEnd - portStart);
    if (digits.find_first_not_of("0123456789") != std::string::npos)
        return reply;
    reply.port = std::strtol(digits.c_str(), nullptr, 10);
    if (reply.port >= 1 && reply.port <= 65535)
        reply.form = PassiveReply::Form::Usable;
    return reply;
}
