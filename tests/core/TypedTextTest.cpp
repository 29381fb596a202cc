// What planners type: dates, times, numbers by their leading value, full-width text.
#include "core/TypedText.h"

#include <gtest/gtest.h>

namespace {

TEST(TypedText, DatesAndTimesInTheUsualForms)
{
    EXPECT_EQ(core::mDateChr("2024/4/5"), "2024/04/05");
    EXPECT_EQ(core::mDateChr("２０２４年４月５日"), "2024/04/05");
    EXPECT_EQ(core::mDateChr("2024/02/30"), "");
    EXPECT_EQ(core::typedTime("８：０５"), core::TimeOfDay::fromHms(8, 5));
    EXPECT_EQ(core::typedTime("23:59:59"), core::TimeOfDay::fromHms(23, 59, 59));
    EXPECT_EQ(core::typedTime("24:00"), std::nullopt);
    EXPECT_EQ(core::typedTime(""), std::nullopt);
}

TEST(TypedText, FullWidthBecomesHalfWidth)
{
    EXPECT_EQ(core::toHalfWidth("ＡＢ－１２　ｃ"), "AB-12 c");
    EXPECT_EQ(core::toHalfWidth("ガクシュウ・パン"), "ｶﾞｸｼｭｳ･ﾊﾟﾝ");
    EXPECT_EQ(core::toHalfWidth("漢字ok"), "漢字ok");
}

TEST(TypedText, NumbersAreReadByTheirLeadingValue)
{
    EXPECT_EQ(core::leadingValue("12abc"), 12);
    EXPECT_EQ(core::leadingValue(" 1 2.5 "), 12.5);
    EXPECT_EQ(core::leadingValue("-3"), -3);
    EXPECT_EQ(core::leadingValue(".5"), 0.5);
    EXPECT_EQ(core::leadingValue("abc"), 0);
    EXPECT_EQ(core::leadingValue(""), 0);
    EXPECT_EQ(core::leadingValue("1e999"), 1);  // the exponent is no part of a box's number
    EXPECT_EQ(core::roundToInt32(2.5), 2);
    EXPECT_EQ(core::roundToInt32(3.5), 4);
    EXPECT_EQ(core::roundToInt32(1e12), 2147483647);
    EXPECT_EQ(core::groupedText(1234567.891, 3), "1,234,567.891");
    EXPECT_EQ(core::groupedText(-0.0001, 3), "0.000");
}

}  // namespace
