#include "CoreTestSupport.h"

#include <gtest/gtest.h>

using namespace core_test;

TEST(TimeTypes, StoredTextsReadOnlyRealValues)
{
    EXPECT_EQ(Date::fromYmdText(" 20240229 "), ymd(2024, 2, 29));
    for (const char* bad : {"00000000", "", "2024013a", "20230229", "20241301", "2024010", "-2024010"})
        EXPECT_TRUE(Date::fromYmdText(bad).isNull()) << bad;
    EXPECT_EQ(Date().toYmdText(), "00000000");
    EXPECT_EQ(ymd(987, 3, 4).toYmdText(), "09870304");
    EXPECT_EQ(Date::fromDisplayText("2024/1/5").toDisplayText(), "2024/01/05");
    EXPECT_TRUE(Date::fromDisplayText("2024/02/30").isNull());
    EXPECT_EQ(ymd(2024, 1, 5).toMonthDayText(), "1/5");

    EXPECT_EQ(TimeOfDay::fromHhnnss("80000"), hm(8));  // a number that lost its leading zero
    for (const char* bad : {"240000", "086000", "080060", "", "08:00:00", "1234567"})
        EXPECT_FALSE(TimeOfDay::fromHhnnss(bad).has_value()) << bad;
    EXPECT_EQ(TimeOfDay::fromDisplayText("8:05"), hm(8, 5));
    EXPECT_FALSE(TimeOfDay::fromDisplayText("24:00:00").has_value());
    EXPECT_EQ(hm(7, 5, 9).toHhnnss(), "070509");
}

TEST(TimeTypes, MonthArithmeticClampsToTheMonthEnd)
{
    const Date jan31 = ymd(2024, 1, 31);
    EXPECT_EQ(jan31.addMonths(1), ymd(2024, 2, 29));
    EXPECT_EQ(ymd(2023, 1, 31).addMonths(1), ymd(2023, 2, 28));
    EXPECT_EQ(jan31.addMonths(-2), ymd(2023, 11, 30));
    EXPECT_EQ(jan31.addMonths(-13), ymd(2022, 12, 31));
    EXPECT_TRUE(Date().addMonths(1).isNull());
    EXPECT_TRUE(ymd(9999, 12, 1).addMonths(1).isNull());
    EXPECT_TRUE(ymd(2024, 1, 1).addMonths(-24301).isNull());  // before year 1
    EXPECT_TRUE(ymd(2024, 1, 1).addMonths(INT32_MAX).isNull());
    EXPECT_EQ(ymd(1, 2, 28).addMonths(-1), ymd(1, 1, 28));
    EXPECT_EQ(ymd(1900, 3, 1).addDays(-1), ymd(1900, 2, 28));
}

TEST(TimeTypes, NegativeValuesBelongToEarlierDays)
{
    EXPECT_EQ(ymd(1969, 12, 31).serial(), -1);
    EXPECT_EQ(ymd(1969, 12, 31).dayOfWeek(), 3);
    const Moment m = Moment::fromSeconds(-1);
    EXPECT_EQ(m.toDisplayText(), "1969/12/31 23:59:59");
    EXPECT_EQ(Moment::of(m.date(), m.time()), m);
    EXPECT_EQ(TimeOfDay::fromSeconds(-1), hm(23, 59, 59));
    const Moment a = at(ymd(2024, 5, 1), 10);
    EXPECT_EQ(a.minutesTo(a.addSeconds(-90)), -1);  // toward zero
    EXPECT_EQ(a.addMinutes(-601).toDisplayText(), "2024/04/30 23:59:00");
}
