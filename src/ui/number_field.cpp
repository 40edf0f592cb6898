#include "ui/number_field.h"

#include "platform/message_box.h"
#include "support/white_space.h"

#include <limits>

std::string NumberFieldError(const std::string& text, unsigned low, unsigned high, unsigned& value)
{
    const std::string digits = StripWhiteSpace(text);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        return "Geben Sie bitte eine positive ganze Zahl ein.";
    // Too many digits for any range: kept at the largest value so the range message shows.
    unsigned long long number = 0;
    for (char digit : digits) {
        number = number * 10 + static_cast<unsigned>(digit - '0');
        if (number > std::numeric_limits<unsigned>::max()) {
            number = std::numeric_limits<unsigned>::max();
            break;
        }
    }
    if (number < low || number > high)
        return "Geben Sie bitte eine ganze Zahl zwischen " + std::to_string(low) + " und " + std::to_string(high)
               + " ein.";
    value = static_cast<unsigned>(number);
    return "";
}

NumberField CheckNumberFields(const std::string& pollingRate, const std::string& logFileMaxSize,
                              const std::string& programName, int& pollingRateValue,
                              int& logFileMaxSizeValue)
{
    constexpr unsigned kStyle = BoxStyle::IconExclamation | BoxStyle::TaskModal;
    unsigned rate = 0;
    std::string error = NumberFieldError(pollingRate, kPollingRateMin, kPollingRateMax, rate);
    if (!error.empty()) {
        ShowMessageBox(error, programName, kStyle);
        return NumberField::PollingRate;
    }
    unsigned size = 0;
    error = NumberFieldError(logFileMaxSize, kLogFileMaxSizeMin, kLogFileMaxSizeMax, size);
    if (!error.empty()) {
        ShowMessageBox(error, programName, kStyle);
        return NumberField::LogFileMaxSize;
    }
    pollingRateValue = static_cast<int>(rate);
    logFileMaxSizeValue = static_cast<int>(size);
    return NumberField::None;
}
