#include "core/WorkingTime.h"

#include <gtest/gtest.h>

using core::FunFitByteWidth;

TEST(ByteWidthText, Cp932WidthsAndFittingWithoutSplittingCharacters)
{
    EXPECT_EQ(core::shiftJisByteWidth(QStringLiteral("Aｱｲﾞ成形①")), 10);  // half-width katakana 1, NEC special 2
    EXPECT_EQ(core::shiftJisByteWidth(QStringLiteral("😀é")), 4);       // not in CP932: 2 each
    EXPECT_EQ(FunFitByteWidth("M01", 6, "L"), "M01   ");
    EXPECT_EQ(FunFitByteWidth("ABCDEFGHIJ", 8, "R"), "CDEFGHIJ");
    EXPECT_EQ(FunFitByteWidth(QStringLiteral("あいう"), 5, "L"), QStringLiteral("あい "));
    EXPECT_EQ(FunFitByteWidth(QStringLiteral("あいう"), 5, "R"), QStringLiteral(" いう"));
    EXPECT_EQ(FunFitByteWidth(QStringLiteral("😀x"), 2, "R"), QStringLiteral(" x"));
    EXPECT_EQ(FunFitByteWidth(QStringLiteral(" 機 "), 8, ""), QStringLiteral(" 機 "));
    EXPECT_EQ(FunFitByteWidth("abc", -3, "L"), "");
}

TEST(ByteWidthText, PadRightPadsWithTheWholePadThenCuts)
{
    EXPECT_EQ(core::FunPadRight("AB", 5, "xy"), "ABxyx");
    EXPECT_EQ(core::FunPadRight("ABCDEF", 3, "*"), "ABC");
    EXPECT_EQ(core::FunPadRight("AB", 5, ""), "AB");  // must not loop
}
