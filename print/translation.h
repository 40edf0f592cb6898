// pdf_print's messages in the user's language. English is written in the code; the
// catalogues of other languages are installed beside the program.
#pragma once

#include <initializer_list>
#include <string>

// Takes the language from the environment (LANGUAGE, LC_ALL, LC_MESSAGES, LANG) and the
// catalogues from the share/locale folder that belongs to the running program. Messages
// come in UTF-8 whatever the locale's character set.
void UseUserLanguage();

// The message in the user's language, or `message` itself when there is no translation.
const char* Tr(const char* message);

// `format` with %1, %2, ... replaced by the values in that order.
std::string Fill(const char* format, std::initializer_list<std::string> values);
