// The line plan window's rules: the sums, the six checks of OK in their order
// and the machine day an accepted entry stores.

#include "reschedule/LinePlan.h"

#include <gtest/gtest.h>

using reschedule::LinePlanEntry;
using core::TimeOfDay;

namespace {

LinePlanEntry entry(const QString& from, const QString& to, const QString& stopStart = {}, const QString& stopHours = QStringLiteral("0"))
{
    LinePlanEntry e;
    e.planTime[0] = from;
    e.planTime[1] = to;
    e.planTime[4] = stopStart;
    e.noWorkingTime = stopHours;
    return e;
}

QString messageOf(const LinePlanEntry& e) { return reschedule::checkLinePlan(e).message; }

const QString kOutside = QStringLiteral("計画時刻の範囲外は入力できません。");
const QString kPastEnd = QStringLiteral("停止時刻＋停止時間が終了時刻を超えています。");
const QString kRange = QStringLiteral("1～24時間の範囲で入力して下さい。");

TEST(LinePlanSums, RangesAcrossMidnightCountIntoTheNextDay)
{
    reschedule::LinePlanSums s;
    LinePlanEntry e = entry(QStringLiteral("22:00"), QStringLiteral("06:00"));
    ASSERT_TRUE(reschedule::computeSums(e, s).passed());
    EXPECT_EQ(s.planSum, QStringLiteral("8"));

    e = entry(QStringLiteral("08:30"), QStringLiteral("17:00"), QStringLiteral("10:00"), QStringLiteral("2"));
    e.planTime[2] = QStringLiteral("20:00:00");
    e.planTime[3] = QStringLiteral("00:00:00");  // to midnight: 4 hours
    ASSERT_TRUE(reschedule::computeSums(e, s).passed());
    EXPECT_EQ(s.planSum, QStringLiteral("12.5"));
    EXPECT_EQ(s.workingTimeSum, QStringLiteral("10.5"));

    // An unused range (start equal to end, or empty) counts nothing.
    e = entry(QStringLiteral("08:00"), QStringLiteral("08:00"));
    ASSERT_TRUE(reschedule::computeSums(e, s).passed());
    EXPECT_EQ(s.planSum, QStringLiteral("0"));
}

TEST(LinePlanSums, UnreadableBoxesAreNamed)
{
    reschedule::LinePlanSums s;
    LinePlanEntry e = entry(QStringLiteral("08:00"), QStringLiteral("25:00"));
    auto c = reschedule::computeSums(e, s);
    EXPECT_EQ(c.message, QStringLiteral("時間と認識できません"));
    EXPECT_EQ(c.box, 1);
    e = entry(QStringLiteral("08:00"), QStringLiteral("17:00"), {}, QStringLiteral("abc"));
    c = reschedule::computeSums(e, s);
    EXPECT_EQ(c.message, QStringLiteral("数値と認識できません"));
    EXPECT_EQ(c.box, reschedule::NoWorkingTimeBox);
    // Full-width input from the IME reads as typed in ASCII.
    e = entry(QStringLiteral("０８：００"), QStringLiteral("１７：００"), {}, QStringLiteral("１"));
    ASSERT_TRUE(reschedule::computeSums(e, s).passed());
    EXPECT_EQ(s.workingTimeSum, QStringLiteral("8"));
}

TEST(LinePlanChecks, InTheirOrderWithTheirBoxes)
{
    // 1: every time box, the spare ones too.
    LinePlanEntry e = entry(QStringLiteral("08:00"), QStringLiteral("17:00"), QStringLiteral("16:00"), QStringLiteral("x"));
    e.planTime[7] = QStringLiteral("7");
    auto c = reschedule::checkLinePlan(e);
    EXPECT_EQ(c.message, QStringLiteral("時間と認識できません"));
    EXPECT_EQ(c.box, 7);
    // 2 before 4 and 5.
    e.planTime[7].clear();
    EXPECT_EQ(messageOf(e), QStringLiteral("数値と認識できません"));
    // 3: a stop of 0 hours (or none) passes whatever its start.
    EXPECT_TRUE(reschedule::checkLinePlan(entry(QStringLiteral("08:00"), QStringLiteral("17:00"), QStringLiteral("03:00"), QStringLiteral("0"))).passed());
    EXPECT_TRUE(reschedule::checkLinePlan(entry(QStringLiteral("08:00"), QStringLiteral("17:00"), QStringLiteral("03:00"), QString())).passed());
    // 4: the stop start lies in the plan range.
    c = reschedule::checkLinePlan(entry(QStringLiteral("08:00"), QStringLiteral("17:00"), QStringLiteral("07:00"), QStringLiteral("1")));
    EXPECT_EQ(c.message, kOutside);
    EXPECT_EQ(c.box, 4);
    // 5: one hour before the end with two hours.
    c = reschedule::checkLinePlan(entry(QStringLiteral("08:00"), QStringLiteral("17:00"), QStringLiteral("16:00"), QStringLiteral("2")));
    EXPECT_EQ(c.message, kPastEnd);
    EXPECT_EQ(c.box, reschedule::NoWorkingTimeBox);
    // 6: half an hour that fits is still refused, as is more than a day.
    EXPECT_EQ(messageOf(entry(QStringLiteral("08:00"), QStringLiteral("17:00"), QStringLiteral("10:00"), QStringLiteral("0.5"))), kRange);
    EXPECT_EQ(messageOf(entry(QStringLiteral("08:00"), QStringLiteral("08:00"), QStringLiteral("08:00"), QStringLiteral("25"))), kPastEnd);
    EXPECT_EQ(messageOf(entry(QStringLiteral("08:00"), QStringLiteral("17:00"), QStringLiteral("10:00"), QStringLiteral("-1"))), kRange);
    EXPECT_TRUE(reschedule::checkLinePlan(entry(QStringLiteral("08:00"), QStringLiteral("17:00"), QStringLiteral("15:00"), QStringLiteral("2"))).passed());
}

TEST(LinePlanChecks, PlanRangeAcrossMidnightAndTheSecondRange)
{
    // 22:00-06:00: a stop at 02:00 lies on the next day inside the range.
    EXPECT_TRUE(reschedule::checkLinePlan(entry(QStringLiteral("22:00"), QStringLiteral("06:00"), QStringLiteral("02:00"), QStringLiteral("4"))).passed());
    EXPECT_EQ(messageOf(entry(QStringLiteral("22:00"), QStringLiteral("06:00"), QStringLiteral("03:00"), QStringLiteral("4"))), kPastEnd);
    EXPECT_EQ(messageOf(entry(QStringLiteral("22:00"), QStringLiteral("06:00"), QStringLiteral("12:00"), QStringLiteral("1"))), kOutside);
    // The second range, when used, ends the plan range.
    LinePlanEntry e = entry(QStringLiteral("08:00"), QStringLiteral("12:00"), QStringLiteral("18:00"), QStringLiteral("2"));
    e.planTime[2] = QStringLiteral("13:00");
    e.planTime[3] = QStringLiteral("20:00");
    EXPECT_TRUE(reschedule::checkLinePlan(e).passed());
    // A range that ends at midnight ends at 23:59:59 for the stop's end.
    EXPECT_EQ(messageOf(entry(QStringLiteral("16:00"), QStringLiteral("00:00"), QStringLiteral("22:00"), QStringLiteral("2"))), kPastEnd);
    EXPECT_TRUE(reschedule::checkLinePlan(entry(QStringLiteral("16:00"), QStringLiteral("00:00"), QStringLiteral("21:00"), QStringLiteral("2"))).passed());
}

TEST(LinePlanChecks, AFractionOfAnHourIsRefusedNotRounded)
{
    const auto c = reschedule::checkLinePlan(entry(QStringLiteral("08:00"), QStringLiteral("17:00"), QStringLiteral("10:00"), QStringLiteral("1.5")));
    EXPECT_EQ(c.message, QStringLiteral("停止時間は1時間単位で入力して下さい。"));
    EXPECT_EQ(c.box, reschedule::NoWorkingTimeBox);
}

TEST(LinePlanStore, TheDayAsEnteredWithTheRestKept)
{
    core::DayCalendar before;
    before.ShiftTime[1] = TimeOfDay::fromHms(8, 0);
    before.ShiftTime[2] = TimeOfDay::fromHms(17, 0);
    before.ShiftTime[5] = TimeOfDay::fromHms(1, 0);  // a pair the window does not show
    before.ShiftTime[6] = TimeOfDay::fromHms(2, 0);
    before.stop = core::StopInfo{QStringLiteral("旧"), QStringLiteral("備考"), TimeOfDay::fromHms(9, 0), 1};
    before.KinmuJikan = 8;

    LinePlanEntry e = reschedule::entryOf(before);
    EXPECT_EQ(e.planTime[0], QStringLiteral("08:00:00"));
    EXPECT_EQ(e.planTime[2], QString());  // unused range shows empty
    EXPECT_EQ(e.planTime[5], QStringLiteral("10:00:00"));  // the stop's end beside its start

    e = entry(QStringLiteral("22:00"), QStringLiteral("06:00"), QStringLiteral("01:00"), QStringLiteral("3"));
    const core::DayCalendar d = reschedule::storedDay(e, before);
    EXPECT_EQ(d.ShiftTime[1], TimeOfDay::fromHms(22, 0));
    EXPECT_EQ(d.ShiftTime[2], TimeOfDay::fromHms(6, 0));
    EXPECT_EQ(d.ShiftTime[3], TimeOfDay());
    EXPECT_EQ(d.ShiftTime[5], TimeOfDay::fromHms(1, 0));
    EXPECT_EQ(d.stop.title, QStringLiteral(" "));  // no reason: a single blank
    EXPECT_EQ(d.stop.remark, QStringLiteral("備考"));
    EXPECT_EQ(d.stop.start, TimeOfDay::fromHms(1, 0));
    EXPECT_EQ(d.stop.hours, 3);
    EXPECT_EQ(d.KinmuJikan, 5);
}

}  // namespace
