#include "spool/param_expander.h"

namespace {

bool EndsName(char c)
{
    return c == ' ' || c == '"' || c == '\'' || c == '$' || c == '\n' || static_cast<unsigned char>(c) == 0xB6;
}

}  // namespace

void ParamExpander::ExpandTemplate()
{
    if (!table_ || text_.empty())
        return;
    std::string out;
    std::size_t i = 0;
    while (i < text_.size() && out.size() < kExpansionLimit) {
        if (text_[i] != '$') {
            out += text_[i++];
            continue;
        }
        ++i;
        std::size_t start = i;
        while (i < text_.size() && i - start < kParamNameLimit && !EndsName(text_[i]))
            ++i;
        std::string name = text_.substr(start, i - start);
        if (i < text_.size() && text_[i] == '$')
            ++i;
        int slot = table_->FindParam(name);
        if (slot < 0)
            continue;
        std::string value = table_->Value(slot);
        if (out.size() + value.size() < kExpansionLimit)
            out += value;
    }
    text_ = std::move(out);
}
