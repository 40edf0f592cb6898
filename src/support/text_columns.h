// Columns of fixed-pitch text (the log, the spool folder list) in UTF-8: a column is
// counted in characters, so that a name with umlauts lines up with the others.
#pragma once

#include <cstddef>
#include <string>

// The characters of a UTF-8 text: every byte that does not continue a sequence.
std::size_t CharacterCount(const std::string& text);

// The text followed by blanks up to `width` characters; a longer text is not cut.
std::string PaddedToWidth(const std::string& text, std::size_t width);
