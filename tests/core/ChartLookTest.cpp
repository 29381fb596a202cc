#include "CoreTestSupport.h"
#include "core/BarLook.h"
#include "core/ChartGeometry.h"

#include <gtest/gtest.h>

using namespace core_test;

TEST(ChartGeometry, ModesScalesAndCaptions)
{
    const double w = 13440;
    using core::DisplayMode;
    const core::ChartScale day = core::scaleForMode(DisplayMode::OneDay, w, core::scaleForMode(DisplayMode::Week, w, {}));
    EXPECT_DOUBLE_EQ(day.HourTwips * 24, w);                 // a 24-hour order fills the chart
    EXPECT_DOUBLE_EQ(day.HourTwipsPrev, w / 7);              // the week's day width
    EXPECT_DOUBLE_EQ(day.HourTwipsTop, w / 672);
    EXPECT_DOUBLE_EQ(core::scaleForMode(DisplayMode::FourWeeks, w, day).HourTwips * 24, w / 28);
    EXPECT_DOUBLE_EQ(core::scaleForMode(DisplayMode::ThreeDays, w, day).DayTwips, w / 3);
    DisplayMode mode = DisplayMode::Week;
    for (int i = 0; i < 4; ++i) mode = core::nextDisplayMode(mode);
    EXPECT_EQ(mode, DisplayMode::Week);
    EXPECT_EQ(core::nextDisplayMode(DisplayMode::FourWeeks), DisplayMode::OneDay);
    EXPECT_EQ(core::displayModeCaption(DisplayMode::FourWeeks), QStringLiteral("４週間表示"));
}

TEST(ChartGeometry, TimeToXAndBack)
{
    const Date d = ymd(2024, 5, 13);
    const Moment origin = core::chartOrigin(d, hm(8, 30, 45));  // hours and minutes only
    EXPECT_EQ(origin, at(d, 8, 30));
    EXPECT_EQ(core::dateTimeToX(origin, d, hm(8, 30), 120), 0);
    EXPECT_EQ(core::dateTimeToX(origin, d, hm(7, 30), 120), -120);
    EXPECT_EQ(core::dateTimeToX(origin, origin.addSeconds(-30), 120), -2);  // a started minute before the origin
    EXPECT_EQ(core::dateTimeToX(origin, origin.addMinutes(1), 90), 2);      // 1.5: halves to even
    EXPECT_EQ(core::dateTimeToX(origin, origin.addMinutes(3), 90), 4);      // 4.5
    EXPECT_EQ(core::dateTimeToX(origin, origin.addMinutes(-3), 90), -4);
    EXPECT_EQ(core::xToMoment(origin, 79.9, 80), origin.addMinutes(59));
    EXPECT_EQ(core::xToMoment(origin, -79.9, 80), origin.addMinutes(-59));
    EXPECT_EQ(core::xToMoment(origin, 100, 0), origin);
}

TEST(BarLook, ColoursByFirstDueDateAndConfirmation)
{
    const Date due = ymd(2024, 5, 20);
    EXPECT_EQ(core::dueClassOf(due.addDays(1), due), core::DueClass::Late);
    EXPECT_EQ(core::dueClassOf(due, due), core::DueClass::NearDue);
    EXPECT_EQ(core::dueClassOf(due.addDays(-3), due), core::DueClass::NearDue);
    EXPECT_EQ(core::dueClassOf(due.addDays(-4), due), core::DueClass::Early);
    EXPECT_EQ(core::dueClassOf(due, Date()), core::DueClass::NoDueDate);
    EXPECT_EQ(core::backgroundOf(core::DueClass::Late), 0xFF6060u);
    EXPECT_EQ(core::backgroundOf(core::DueClass::Early), 0x80FFFFu);
    EXPECT_EQ(core::backgroundOf(core::DueClass::NearDue), 0xFFFF80u);
    core::BarFacts f;
    f.isConfirmed = false;
    EXPECT_EQ(core::barLookOf(f, 1, 0).text, 0x0000FFu);
    EXPECT_EQ(core::barLookOf(f, 0, 0).text, 0u);
    f.isConfirmed = true;
    EXPECT_EQ(core::barLookOf(f, 1, 0).text, 0u);
}

TEST(BarLook, CaptionLines)
{
    core::BarFacts f;
    f.instructionDate = "00000000", f.itemCode2 = " A-100 ", f.modelName = "ブラケット", f.processName = "成形";
    f.lastResultDate = ymd(2024, 5, 12), f.receivedQty = 300, f.orderQty = 1000, f.planItemCode = "P-01 ", f.mouldShortName = "型A";
    EXPECT_EQ(core::barLookOf(f, 0, 0).line1, QStringLiteral("A-100 ブラケット"));
    EXPECT_EQ(core::barLookOf(f, 0, 0).line2, QStringLiteral("成形 5/12(300)/1000 P-01 型A"));
    f.instructionDate = "20240510", f.lastResultDate = Date(), f.planItemCode = "", f.mouldShortName = " ";
    EXPECT_EQ(core::barLookOf(f, 0, 0).line1, QStringLiteral("●A-100 ブラケット"));
    EXPECT_EQ(core::barLookOf(f, 0, 0).line2, QStringLiteral("成形 (300)/1000"));
    EXPECT_EQ(core::barLookOf(f, 0, 1).line2, QStringLiteral("成形 (300)/1000 型なし"));
}
