#include "spool/held_copy.h"

#include "spool/durable_file.h"
#include "spool/free_file_name.h"
#include "spool/pdf_search.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace {

constexpr const char* kHeldSuffix = ".held";
constexpr const char* kNameSuffix = ".name";

// Several source folders (the main folders of the Tessaline mode) feed one spool folder:
// a held copy carries a tag of the folder whose listing decides it.
std::string FolderTag(const std::string& folder)
{
    uint32_t hash = 2166136261u;
    for (unsigned char c : folder)
        hash = (hash ^ c) * 16777619u;
    char tag[9];
    std::snprintf(tag, sizeof tag, "%08x", hash);
    return tag;
}

bool WriteNameFile(const std::string& path, const std::string& name)
{
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        if (!(file << name) || !file.flush())
            return false;
    }
    return FlushFile(path);
}

}  // namespace

HeldCopies::HeldCopies(const std::string& destination, const std::string& sourceFolder)
    : destination_(destination), suffix_("." + FolderTag(sourceFolder) + kHeldSuffix),
      nameSuffix_("." + FolderTag(sourceFolder) + kNameSuffix)
{
}

bool HeldCopies::Standing(const std::string& name) const
{
    return name.size() + suffix_.size() > kLongestFileName;
}

std::string HeldCopies::PathOf(const std::string& name) const
{
    return destination_ + "/" + (Standing(name) ? ShortStandIn(name) : name) + suffix_;
}

std::string HeldCopies::NamePathOf(const std::string& heldPath) const
{
    return heldPath.substr(0, heldPath.size() - suffix_.size()) + nameSuffix_;
}

bool HeldCopies::Hold(const std::string& fetched, const std::string& name) const
{
    const std::string held = PathOf(name);
    const bool standing = Standing(name);
    if ((!standing || WriteNameFile(NamePathOf(held), name)) && std::rename(fetched.c_str(), held.c_str()) == 0)
        return true;
    if (standing)
        std::remove(NamePathOf(held).c_str());
    return false;
}

bool HeldCopies::Release(const HeldCopy& copy) const
{
    if (MoveToFreeName(copy.path, destination_, copy.name).empty())
        return false;
    if (Standing(copy.name))
        std::remove(NamePathOf(copy.path).c_str());
    return true;
}

void HeldCopies::Drop(const HeldCopy& copy) const
{
    std::remove(copy.path.c_str());
    if (Standing(copy.name))
        std::remove(NamePathOf(copy.path).c_str());
}

std::vector<HeldCopy> HeldCopies::Waiting() const
{
    namespace fs = std::filesystem;
    std::vector<HeldCopy> held;
    std::set<std::string> nameFiles;
    std::error_code error;
    for (fs::directory_iterator it(destination_, error), end; !error && it != end; it.increment(error)) {
        std::string file = it->path().filename().string();
        if (file.size() > suffix_.size() && file.ends_with(suffix_))
            held.push_back({destination_ + "/" + file, file.substr(0, file.size() - suffix_.size())});
        else if (file.ends_with(nameSuffix_))
            nameFiles.insert(destination_ + "/" + file);
    }
    for (HeldCopy& copy : held) {
        if (HasPdfExtension(copy.name))
            continue;
        // A stand-in: the name is in the file beside it; without that file the copy is
        // printed under its stand-in rather than lost.
        std::ifstream file(NamePathOf(copy.path), std::ios::binary);
        std::string name((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        copy.name = IsPlainFileName(name) && HasPdfExtension(name) ? name : copy.name + ".pdf";
        nameFiles.erase(NamePathOf(copy.path));
    }
    for (const std::string& orphan : nameFiles)
        std::remove(orphan.c_str());
    return held;
}
