// One entry of a directory listing of the store, and the two listing forms it is read from.
#pragma once

#include <string>

struct FtpDirEntry {
    std::string name;
    long size = 0;
    int day = 0;
    int month = 0;
    int year = 0;
    int hour = 0;
    int minute = 0;
    int isDir = 0;
};

// A line of the long Unix form, with or without the group column:
// "-rw-r--r--   1 owner group   1024 Jan 15 12:30 name" or "... Jan 15  2005 name".
// A time instead of a year means the current year.
void ParseUnixEntry(const std::string& line, FtpDirEntry& entry);

// A line of the DOS form: "01-15-05  10:30AM  <DIR>  name" or "... 1024 name".
void ParseDosEntry(const std::string& line, FtpDirEntry& entry);
