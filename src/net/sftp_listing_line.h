// The listing lines of the SFTP component: the long form of "ls -l",
// "-rw-r--r--    1 owner    group        5123 Mar  4 12:30 report 1.pdf".
#pragma once

#include "net/ftp_dir_entry.h"

#include <string>

// Fills the entry from one line: size from the fifth field, day from the seventh, year
// from the leading number of the eighth, and the name from the
// ninth field to the end of the line, without surrounding blanks and without one
// trailing "/" or "*". Month, hour and minute stay 0. A line beginning with "d" is a
// directory.
void ParseSftpListingLine(const std::string& line, FtpDirEntry& entry);
