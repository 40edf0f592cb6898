#include "support/collection.h"

namespace {

unsigned char Fold(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 0x20) : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Fold(static_cast<unsigned char>(a[i])) != Fold(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

ValueCompare CompareFor(char code)
{
    switch (code) {
    case 'S':
        return CompareText;
    default:
        return nullptr;
    }
}

}  // namespace

int CompareText(std::string_view a, std::string_view b)
{
    for (std::size_t i = 0;; ++i) {
        unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        if (x == y) {
            if (x == 0)
                return 0;
            continue;
        }
        x = Fold(x);
        y = Fold(y);
        if (x != y)
            return x < y ? -1 : 1;
    }
}

TypeRegistry& TypeRegistry::Instance()
{
    static TypeRegistry registry;
    return registry;
}

TypeRegistry::TypeRegistry()
{
    Register("str", 'S');
}

std::size_t TypeRegistry::FindLocked(const std::string& name) const
{
    std::size_t i = 0;
    while (i < entries_.size() && !SameName(entries_[i].type->name, name))
        ++i;
    return i;
}

bool TypeRegistry::Register(const std::string& name, char code)
{
    ValueCompare compare = CompareFor(code);
    std::lock_guard<std::mutex> guard(lock_);
    if (!compare || name.empty() || FindLocked(name) < entries_.size())
        return false;
    entries_.push_back({std::make_unique<ValueType>(ValueType{name, code, compare}), 0});
    return true;
}

const ValueType* TypeRegistry::Acquire(const std::string& name)
{
    std::lock_guard<std::mutex> guard(lock_);
    std::size_t i = FindLocked(name);
    if (i == entries_.size())
        return nullptr;
    ++entries_[i].uses;
    return entries_[i].type.get();
}

void TypeRegistry::Release(const ValueType* type)
{
    std::lock_guard<std::mutex> guard(lock_);
    for (Entry& entry : entries_) {
        if (entry.type.get() == type && entry.uses > 0)
            --entry.uses;
    }
}

int TypeRegistry::UseCount(const std::string& name) const
{
    std::lock_guard<std::mutex> guard(lock_);
    std::size_t i = FindLocked(name);
    return i == entries_.size() ? 0 : entries_[i].uses;
}

std::shared_ptr<Collection> Collection::Create(const std::string& typeName)
{
    const ValueType* type = TypeRegistry::Instance().Acquire(typeName);
    if (!type)
        return nullptr;
    return std::shared_ptr<Collection>(new Collection(type));
}

Collection::Collection(const ValueType* type)
    : type_(type)
{
}

Collection::~Collection()
{
    TypeRegistry::Instance().Release(type_);
}
