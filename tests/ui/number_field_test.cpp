#include "ui/number_field.h"

#include "fakes/recording_message_boxes.h"

#include <gtest/gtest.h>

namespace {

const char* const kNotANumber = "Geben Sie bitte eine positive ganze Zahl ein.";

std::string PollingError(const std::string& text)
{
    unsigned value = 12345;
    return NumberFieldError(text, kPollingRateMin, kPollingRateMax, value);
}

}  // namespace

TEST(NumberField, RangeLimits)
{
    unsigned value = 0;
    EXPECT_EQ(NumberFieldError("86400", 0, 86400, value), "");
    EXPECT_EQ(value, 86400u);
    EXPECT_EQ(NumberFieldError("0", 0, 86400, value), "");
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(NumberFieldError("86401", 0, 86400, value), "Geben Sie bitte eine ganze Zahl zwischen 0 und 86400 ein.");
    EXPECT_EQ(NumberFieldError("999", 1000, 10000000, value),
              "Geben Sie bitte eine ganze Zahl zwischen 1000 und 10000000 ein.");
    EXPECT_EQ(NumberFieldError("1000", 1000, 10000000, value), "");
    EXPECT_EQ(value, 1000u);
    EXPECT_EQ(NumberFieldError("10000000", 1000, 10000000, value), "");
    EXPECT_NE(NumberFieldError("10000001", 1000, 10000000, value), "");
    // Too many digits for any number is still a number outside the range.
    EXPECT_EQ(PollingError("99999999999999999999"), "Geben Sie bitte eine ganze Zahl zwischen 0 und 86400 ein.");
}

TEST(NumberField, OnlyUnsignedWholeNumbers)
{
    for (const char* text : {"", "   ", "abc", "-1", "+5", "1.5", "60s", "6 0", "0x10"})
        EXPECT_EQ(PollingError(text), kNotANumber) << '"' << text << '"';
    EXPECT_EQ(PollingError(" 60 "), "");
}

TEST(NumberField, PollingRateIsCheckedFirstAndTheBoxNamesTheProgram)
{
    RecordingMessageBoxes boxes;
    int rate = -7;
    int size = -7;
    EXPECT_EQ(CheckNumberFields("86401", "999", "kv_print", rate, size), NumberField::PollingRate);
    EXPECT_EQ(CheckNumberFields("86400", "999", "ts_print", rate, size), NumberField::LogFileMaxSize);
    EXPECT_EQ(rate, -7);
    EXPECT_EQ(size, -7);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "Geben Sie bitte eine ganze Zahl zwischen 0 und 86400 ein.");
    EXPECT_EQ(boxes.boxes[0].caption, "kv_print");
    EXPECT_EQ(boxes.boxes[0].style, BoxStyle::IconExclamation | BoxStyle::TaskModal);
    EXPECT_EQ(boxes.boxes[1].text, "Geben Sie bitte eine ganze Zahl zwischen 1000 und 10000000 ein.");
    EXPECT_EQ(boxes.boxes[1].caption, "ts_print");

    EXPECT_EQ(CheckNumberFields("0", "1000", "kv_print", rate, size), NumberField::None);
    EXPECT_EQ(rate, 0);
    EXPECT_EQ(size, 1000);
    EXPECT_EQ(boxes.boxes.size(), 2u);
}
