#include "listing_line.h"

#include <sys/stat.h>

#include <cinttypes>
#include <cstdio>

namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::time_t kHalfYear = 182 * 24 * 60 * 60;

char TypeLetter(const sftp_attributes_struct& attributes)
{
    if (attributes.flags & SSH_FILEXFER_ATTR_PERMISSIONS) {
        switch (attributes.permissions & S_IFMT) {
        case S_IFDIR: return 'd';
        case S_IFLNK: return 'l';
        case S_IFCHR: return 'c';
        case S_IFBLK: return 'b';
        case S_IFIFO: return 'p';
        case S_IFSOCK: return 's';
        default: return '-';
        }
    }
    switch (attributes.type) {
    case SSH_FILEXFER_TYPE_DIRECTORY: return 'd';
    case SSH_FILEXFER_TYPE_SYMLINK: return 'l';
    default: return '-';
    }
}

std::string Permissions(const sftp_attributes_struct& attributes)
{
    std::string text(10, '-');
    text[0] = TypeLetter(attributes);
    if (!(attributes.flags & SSH_FILEXFER_ATTR_PERMISSIONS)) {
        return text;
    }
    const uint32_t mode = attributes.permissions;
    const char* letters = "rwxrwxrwx";
    for (int bit = 0; bit < 9; ++bit) {
        if (mode & (0400u >> bit)) {
            text[1 + bit] = letters[bit];
        }
    }
    if (mode & S_ISUID) {
        text[3] = (mode & S_IXUSR) ? 's' : 'S';
    }
    if (mode & S_ISGID) {
        text[6] = (mode & S_IXGRP) ? 's' : 'S';
    }
    if (mode & S_ISVTX) {
        text[9] = (mode & S_IXOTH) ? 't' : 'T';
    }
    return text;
}

std::string Date(const sftp_attributes_struct& attributes, std::time_t now)
{
    const std::time_t modified =
        (attributes.flags & SSH_FILEXFER_ATTR_ACMODTIME) ? std::time_t(attributes.mtime) : 0;
    std::tm parts{};
    localtime_r(&modified, &parts);
    char text[32];
    const bool recent = modified <= now && now - modified < kHalfYear;
    if (recent) {
        std::snprintf(text, sizeof text, "%s %2d %02d:%02d", kMonths[parts.tm_mon], parts.tm_mday,
                      parts.tm_hour, parts.tm_min);
    } else {
        std::snprintf(text, sizeof text, "%s %2d  %d", kMonths[parts.tm_mon], parts.tm_mday,
                      parts.tm_year + 1900);
    }
    return text;
}

std::string Owner(const char* name, uint32_t id)
{
    return name != nullptr && name[0] != '\0' ? name : std::to_string(id);
}

}  // namespace

std::string ListingLine(const sftp_attributes_struct& attributes, std::time_t now)
{
    const std::string name = attributes.name != nullptr ? attributes.name : "";
    if (attributes.longname != nullptr && !name.empty()) {
        const std::string longName = attributes.longname;
        const std::string tail = " " + name;
        if (longName.size() > tail.size()
            && longName.compare(longName.size() - tail.size(), tail.size(), tail) == 0) {
            return longName;
        }
    }
    char head[160];
    std::snprintf(head, sizeof head, "%-10s %3u %-8s %-8s %8" PRIu64 " ",
                  Permissions(attributes).c_str(), 1u,
                  Owner(attributes.owner, attributes.uid).c_str(),
                  Owner(attributes.group, attributes.gid).c_str(),
                  uint64_t(attributes.size));
    return head + Date(attributes, now) + " " + name;
}

