// The named text parameters that the print program's template refers to as $NAME$.
#pragma once

#include <optional>
#include <string>
#include <vector>

constexpr int kParamSlots = 200;

class ParamTable {
public:
    explicit ParamTable(int slots = kParamSlots);

    // Stores the name upper-cased in the first free slot with a copy of the value.
    // False when the name is there already or no slot is free.
    bool AddParam(const std::string& name, std::optional<std::string> value = std::string());
    // Replaces the value of a name that is in the table; never adds a name.
    bool SetParam(const std::string& name, std::optional<std::string> value);
    // The slot of the name, compared in upper case; -1 when it is not there.
    int FindParam(const std::string& name) const;
    // The value of a slot; "" when it has none.
    std::string Value(int slot) const;

private:
    struct Slot {
        std::optional<std::string> name;  // none: the slot is free
        std::optional<std::string> value;
    };
    std::vector<Slot> slots_;
};
