// The store password is kept in the settings file only in scrambled form: upper-case
// hexadecimal digits over the password's bytes, spread out between random bytes and
// run through three keyed stages. The random part makes every save write another text;
// the unscrambling does not depend on it.
#pragma once

#include <string>
#include <string_view>

// `lead` (at least 1) bounds the random bytes before the marker that precedes the
// password, `spacing` random bytes follow each password byte, and `trailer` + `lead`
// minus the leading ones close the buffer. Twice the buffer's length in digits, or ""
// when the buffer would reach 32000 bytes.
std::string ScramblePassword(const std::string& password, int lead, int trailer, int spacing);

// The password back from the text of ScramblePassword with the same layout. Only the
// digits the layout needs are used; "" for an empty text or one of 32000 characters
// or more. The password ends at its first NUL byte.
std::string UnscramblePassword(const std::string& text, int lead, int trailer, int spacing);

// One stage: byte i becomes ((key[i] + input[i]) mod 256) XOR mask[i] (both keys
// repeating), kept as a byte or written as two upper-case hexadecimal digits. Empty
// for an empty key and for an input that is empty or 32000 bytes long or longer.
std::string ScrambleStage(std::string_view input, std::string_view key, bool hexForm);
// The inverse of a stage. In the hexadecimal form every pair of characters is one
// byte (an odd last character is ignored); the input is refused, as above, by its
// length in characters.
std::string UnscrambleStage(std::string_view input, std::string_view key, bool hexForm);

