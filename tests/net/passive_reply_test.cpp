#include "net/passive_reply.h"

#include <gtest/gtest.h>

TEST(PassiveReply, AddressAndPortFromTheParenthesis)
{
    PassiveReply reply = ParsePassiveReply("Entering Passive Mode (192,168,1,20,195,80).");
    EXPECT_EQ(reply.form, PassiveReply::Form::Usable);
    EXPECT_EQ(reply.address, "192.168.1.20");
    EXPECT_EQ(reply.port, 195 * 256 + 80);
    // Empty fields are left out; what follows ")" does not count.
    reply = ParsePassiveReply("=(127,,0,0,1,4,1) 9,9");
    EXPECT_EQ(reply.form, PassiveReply::Form::Usable);
    EXPECT_EQ(reply.address, "127.0.0.1");
    EXPECT_EQ(reply.port, 1025);
}

TEST(PassiveReply, FormsThatCannotBeUsed)
{
    EXPECT_EQ(ParsePassiveReply("Entering Passive Mode 127,0,0,1,4,1").form, PassiveReply::Form::NoParenthesis);
    EXPECT_EQ(ParsePassiveReply("(127,0,x,1,4,1)").form, PassiveReply::Form::BadAddress);
    EXPECT_EQ(ParsePassiveReply("(127,0,0)").form, PassiveReply::Form::BadAddress);
    EXPECT_EQ(ParsePassiveReply("(127,0,0,1)").form, PassiveReply::Form::BadPort);
    EXPECT_EQ(ParsePassiveReply("(127,0,0,1,0,0)").form, PassiveReply::Form::BadPort);
    EXPECT_EQ(ParsePassiveReply("(127,0,0,1,256,0)").form, PassiveReply::Form::BadPort);
    EXPECT_EQ(ParsePassiveReply("(127,0,0,1,255,256)").form, PassiveReply::Form::BadPort);
}

TEST(PassiveReply, NumbersOfAnySizeAreRefusedWithoutOverflow)
{
    EXPECT_EQ(ParsePassiveReply("(1,2,3,4,99999999999999999999,1)").form, PassiveReply::Form::BadPort);
    EXPECT_EQ(ParsePassiveReply("(1,2,3,4,36028797018963968,1)").form, PassiveReply::Form::BadPort);
    // 2^56 + 1: times 256 it would wrap round to 256.
    EXPECT_EQ(ParsePassiveReply("(1,2,3,4,72057594037927937,1)").form, PassiveReply::Form::BadPort);
    EXPECT_EQ(ParsePassiveReply("(1,2,3,4,-99999999999999999999,1)").form, PassiveReply::Form::BadPort);
    EXPECT_EQ(ParsePassiveReply("(1,2,3,4,0,-99999999999999999999)").form, PassiveReply::Form::BadPort);
    EXPECT_EQ(ParsePassiveReply("(1,2,3,4,1,99999999999999999999)").form, PassiveReply::Form::BadPort);
}
