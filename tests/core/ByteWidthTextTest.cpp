#include "core/WorkingTime.h"

#include <gtest/gtest.h>

using core::fitByteWidth;

TEST(ByteWidthText, Cp932WidthsAndFittingWithoutSplittingCharacters)
{
    EXPECT_EQ(core::shiftJisByteWidth(QStringLiteral("Aｱｲﾞ成形①")), 10);  // half-width katakana 1, NEC special 2
    EXPECT_EQ(core::shiftJisByteWidth(QStringLiteral("😀é")), 4);       // not in CP932: 2 each
    EXPECT_EQ(fitByteWidth("M01", 6, "L"), "M01   ");
    EXPECT_EQ(fitByteWidth("ABCDEFGHIJ", 8, "R"), "CDEFGHIJ");
    EXPECT_EQ(fitByteWidth(QStringLiteral("あいう"), 5, "L"), QStringLiteral("あい "));
    EXPECT_EQ(fitByteWidth(QStringLiteral("あいう"), 5, "R"), QStringLiteral(" いう"));
    EXPECT_EQ(fitByteWidth(QStringLiteral("😀x"), 2, "R"), QStringLiteral(" x"));
    EXPECT_EQ(fitByteWidth(QStringLiteral(" 機 "), 8, ""), QStringLiteral(" 機 "));
    EXPECT_EQ(fitByteWidth("abc", -3, "L"), "");
}

TEST(ByteWidthText, PadRightPadsWithTheWholePadThenCuts)
{
    EXPECT_EQ(core::padRight("AB", 5, "xy"), "ABxyx");
    EXPECT_EQ(core::padRight("ABCDEF", 3, "*"), "ABC");
    EXPECT_EQ(core::padRight("AB", 5, ""), "AB");  // must not loop
}
