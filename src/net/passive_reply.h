// The data address a server names in its reply to PASV.
#pragma once

#include <string>

struct PassiveReply {
    enum class Form {
        Usable,
        NoParenthesis,  // no "(" in the text
        BadAddress,     // the first four fields are no dotted address (PASV only)
        BadPort,        // the port is outside 1 to 65535, or its numbers outside long
    };
    Form form = Form::NoParenthesis;
    std::string address;  // "h1.h2.h3.h4"
    long port = 0;        // p1 * 256 + p2 of a usable reply
};

// Reads "(h1,h2,h3,h4,p1,p2)" from the reply text after the code: the fields between
// "(" and ")" split at ",", ")", CR and LF, empty ones left out.
PassiveReply ParsePassiveReply(const std::string& text);

// Reads "(|||port|)" from the reply text of EPSV: after "(" a delimiter, then fields
// separated by it, of which the fourth is the port; the address fields are left out.
PassiveReply ParseExtendedPassiveReply(const std::string& text);
