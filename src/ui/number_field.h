// The two number fields of the base settings dialog and their check on "OK".
#pragma once

#include <string>

enum class NumberField { None, PollingRate, LogFileMaxSize };

constexpr unsigned kPollingRateMin = 0;
constexpr unsigned kPollingRateMax = 86400;
constexpr unsigned kLogFileMaxSizeMin = 1000;
constexpr unsigned kLogFileMaxSizeMax = 10000000;

// The message for a field text that is not an unsigned whole number between low and
// high, or "" and the number in value. Blanks around the digits are allowed.
std::string NumberFieldError(const std::string& text, unsigned low, unsigned high, unsigned& value);

// Checks the polling rate, then the maximum log size. The first failure is told in a
// box captioned with the program name and returned; the numbers are set only when both
// pass.
NumberField CheckNumberFields(const std::string& pollingRate, const std::string& logFileMaxSize,
                              const std::string& programName, int& pollingRateValue,
                              int& logFileMaxSizeValue);
