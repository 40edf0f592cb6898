#include "spool/param_table.h"

namespace {

// Names are compared byte for byte after upper-casing; only ASCII letters have an
// upper case of the same length in UTF-8, so only they are changed.
std::string UpperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

ParamTable::ParamTable(int slots) : slots_(slots > 0 ? slots : 0) {}

bool ParamTable::AddParam(const std::string& name, std::optional<std::string> value)
{
    if (FindParam(name) >= 0)
        return false;
    for (Slot& slot : slots_) {
        if (!slot.name) {
            slot.name = UpperCase(name);
            slot.value = std::move(value);
            return true;
        }
    }
    return false;
}

bool ParamTable::SetParam(const std::string& name, std::optional<std::string> value)
{
    int slot = FindParam(name);
    if (slot < 0)
        return false;
    slots_[slot].value = std::move(value);
    return true;
}

int ParamTable::FindParam(const std::string& name) const
{
    std::string wanted = UpperCase(name);
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].name && *slots_[i].name == wanted)
            return static_cast<int>(i);
    return -1;
}

std::string ParamTable::Value(int slot) const
{
    if (slot < 0 || slot >= static_cast<int>(slots_.size()) || !slots_[slot].value)
        return "";
    return *slots_[slot].value;
}
