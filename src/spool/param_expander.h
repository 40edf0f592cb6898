// Expansion of the print program's parameter template.
#pragma once

#include "spool/param_table.h"

#include <string>

// The expansion never grows to this length: ordinary characters stop there, and a value
// that would reach it is left out.
constexpr std::size_t kExpansionLimit = 62000;
// A parameter name is at most this long; the characters after it are ordinary text.
constexpr std::size_t kParamNameLimit = 254;

class ParamExpander {
public:
    ParamExpander(std::string text, const ParamTable* table) : text_(std::move(text)), table_(table) {}

    // Replaces the text by its expansion. "$NAME$" becomes the value of NAME (without
    // regard to case). A name ends at the end of the text, a blank, '"', '\'', '$', a
    // line break or the byte 0xB6; a '$' that ends it is dropped, any other ending
    // character stays. A name that is not in the table vanishes with its '$' signs.
    // Nothing is quoted or escaped.
    void ExpandTemplate();
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    const ParamTable* table_;
};
