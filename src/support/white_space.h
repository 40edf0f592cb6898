// White space around texts that the user typed or a settings file holds.
#pragma once

#include <string>

// The text without blanks, tabs and line ends at either end.
std::string StripWhiteSpace(const std::string& text);
