// Text from the service's web server: bytes from a server the station does not control.
// Valid UTF-8 stays as it is; anything else is read as Windows-1252, the code page of
// the service's scripts. Separators such as the field byte 0xF8 must be split off before,
// since they are never part of valid UTF-8.
#pragma once

#include <string>
#include <string_view>

bool IsValidUtf8(std::string_view bytes);
std::string ServiceTextToUtf8(std::string_view bytes);

// The text with the letters of ASCII and of Latin-1 (Ä, Ö, Ü, É, ...) in lower case, for
// comparing names without regard to case.
std::string FoldCase(std::string_view utf8);
