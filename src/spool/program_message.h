// A line that another program wrote, made fit to stand in the activity log.
#pragma once

#include <cstddef>
#include <string>

constexpr std::size_t kProgramMessageBytes = 200;

// The line without blanks around it, a tab as a blank, every other control character
// and every byte that is no part of a whole UTF-8 character as "?", cut after at most
// kProgramMessageBytes bytes at the end of a character.
std::string ProgramMessage(const std::string& line);
