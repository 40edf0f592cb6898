// The print program's command line: the expanded parameters become an argument
// vector, and no shell ever sees them.
#pragma once

#include <string>
#include <vector>

// The longest command line "\"<program>\" <parameters>" the print program is given.
constexpr std::size_t kCommandLineLimit = 1020;

// What is left of the parameters once the command line is cut to its limit.
std::string CutParameters(const std::string& program, const std::string& parameters);

// Blanks and tabs separate the arguments; double quotes group blanks into one argument
// and are removed (a pair of quotes alone gives an empty argument). Nothing else is
// special: ';', '$', '`' and the backslash are ordinary characters.
std::vector<std::string> SplitCommandLine(const std::string& text);
