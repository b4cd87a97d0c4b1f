#include "framework/core/IOConfig.h"

#include <gtest/gtest.h>

using iplug::IOConfig;
using iplug::ParseChannelIOStr;

TEST(ChannelIO, ParsesEachConfigurationInOrder)
{
  EXPECT_EQ(ParseChannelIOStr("1-1 2-2"), (std::vector<IOConfig>{{1, 1}, {2, 2}}));
  EXPECT_EQ(ParseChannelIOStr("  0-2   2-6 "), (std::vector<IOConfig>{{0, 2}, {2, 6}}));
}

TEST(ChannelIO, SkipsMalformedEntries)
{
  EXPECT_TRUE(ParseChannelIOStr("").empty());
  EXPECT_EQ(ParseChannelIOStr("1- -1 a-b 2-2 3-3x 1--1 999-1"), (std::vector<IOConfig>{{2, 2}}));
}
