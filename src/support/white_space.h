// White space around texts that the user typed or a settings file holds.
#pragma once

#include <string>

// The text without blanks, tabs and line ends at either end.
std::string StripWhiteSpace(const std::string& text);

// Turns each line break (CR LF, CR or LF) and each NUL byte into one blank: a settings
// value is one line of the settings file. True when the text held one.
bool LineBreaksToBlanks(std::string& text);
