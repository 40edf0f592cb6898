#include "net/result_codes.h"

#include <gtest/gtest.h>

#include <string>

TEST(ResultCodeName, NamesTheVocabularyAndNothingElse)
{
    EXPECT_STREQ(ResultCodeName(UTE_SUCCESS), "UTE_SUCCESS");
    EXPECT_STREQ(ResultCodeName(98), "UTE_ABORTED");
    EXPECT_STREQ(ResultCodeName(151), "UTE_INVALID_ENCODING_FORMAT");
    EXPECT_STREQ(ResultCodeName(148), "");
    EXPECT_STREQ(ResultCodeName(147), "UTE_UNSUPPORTED_KEY_SIZE");
    EXPECT_STREQ(ResultCodeName(149), "UTE_INVALID_CHARACTER_IN_CHARSET");
    EXPECT_STREQ(ResultCodeName(152), "UNKNOWN");
    EXPECT_STREQ(ResultCodeName(-1), "UNKNOWN");
}

TEST(ResultCodeName, CheckPointsOfTheNumbering)
{
    const std::pair<int, const char*> points[] = {
        {5, "UTE_CONNECT_TIMEOUT"}, {15, "UTE_SOCK_NOT_OPEN"}, {20, "UTE_SOCK_TIMEOUT"},
        {38, "UTE_NO_RESPONSE"}, {45, "UTE_BAD_URL"}, {48, "UTE_RETR_FAILED"},
        {49, "UTE_PORT_FAILED"}, {50, "UTE_LIST_FAILED"}, {51, "UTE_STOR_FAILED"},
        {62, "UTE_USER_NA"}, {81, "UTE_DS_OPEN_FAILED"}, {100, "UTE_INVALID_ADDRESS"},
        {106, "UTE_PARAMETER_INVALID_VALUE"}, {114, "UTE_QUOTE_LINE_IS_EMPTY"},
        {115, "UTE_REST_COMMAND_NOT_SUPPORTED"},
    };
    for (const auto& [code, name] : points)
        EXPECT_EQ(std::string(ResultCodeName(code)), name) << code;
    EXPECT_EQ(UTE_RNTO_NA, 66);
    EXPECT_EQ(UTE_DS_WRITE_FAILED, 83);
}
