// UTF-8 text taken character by character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The length of the well-formed UTF-8 character at `at` (no overlong form, no surrogate,
// nothing beyond U+10FFFF), 0 when there is none.
std::size_t Utf8CharacterLength(std::string_view text, std::size_t at);

// The text cut to at most `bytes` bytes, never inside a character.
std::string CutAtCharacter(const std::string& text, std::size_t bytes);
