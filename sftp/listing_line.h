// One line of a directory listing in the long form of "ls -l".
#pragma once

#include <libssh/sftp.h>

#include <ctime>
#include <string>

// The server's own long name when it sends one that ends in the entry's name; otherwise
// the line made from the attributes: permissions, links, owner, group, size, month, day,
// and the time for entries of the last six months or else the year, then the name.
// Month names are English whatever the locale. "now" decides between time and year.
std::string ListingLine(const sftp_attributes_struct& attributes, std::time_t now);
