// Typed in-memory collections. A value type is registered under a name and carries a
// one-letter code that selects its comparison; a collection holds values of one type
// and is shared by its handles, the last of which destroys it.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// Negative, zero or positive as a goes before, with or after b.
using ValueCompare = int (*)(std::string_view a, std::string_view b);

struct ValueType {
    std::string name;
    char code;  // 'S': text
    ValueCompare compare;
};

// The order of texts: each ends at its first NUL, which takes part in the comparison
// (so a prefix goes first). Where two bytes differ, "A" to "Z" count as their
// lower-case letters and every other byte as itself, compared as unsigned numbers;
// no locale is consulted.
int CompareText(std::string_view a, std::string_view b);

// The process-wide registry of value types, found by name without regard to case.
// It starts with the text type "str" (code 'S'). One lock guards every lookup,
// registration and change of a use count.
class TypeRegistry {
public:
    static TypeRegistry& Instance();

    // False when the name is taken or the code has no comparison.
    bool Register(const std::string& name, char code);
    // The type with its use count raised, or null for an unknown name.
    const ValueType* Acquire(const std::string& name);
    void Release(const ValueType* type);
    // 0 for an unknown name.
    int UseCount(const std::string& name) const;

private:
    TypeRegistry();
    struct Entry {
        std::unique_ptr<ValueType> type;
        int uses = 0;
    };
    // Index of the entry with that name, or entries_.size(); the lock must be held.
    std::size_t FindLocked(const std::string& name) const;

    mutable std::mutex lock_;
    std::vector<Entry> entries_;
};

// Values of one registered type, in the order they were appended.
class Collection {
public:
    // Null for an unknown type name. The collection holds a use of its type.
    static std::shared_ptr<Collection> Create(const std::string& typeName);
    ~Collection();
    Collection(const Collection&) = delete;
    Collection& operator=(const Collection&) = delete;

    const ValueType& Type() const { return *type_; }
    std::size_t Size() const { return values_.size(); }
    const std::string& At(std::size_t position) const { return values_[position]; }
    void Append(std::string value) { values_.push_back(std::move(value)); }

private:
    explicit Collection(const ValueType* type);

    const ValueType* type_;
    std::vector<std::string> values_;
};
