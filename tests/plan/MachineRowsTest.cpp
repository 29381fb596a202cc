// The chart's rows and the machines' calendars as subResourcesSet builds them.

#include "PlanTestPlant.h"
#include "plan/loading/PlanSession.h"
#include "plan/loading/PlanStatements.h"

using namespace plantest;
using core::TimeOfDay;

namespace {

class MachineRows : public PlantFixture {};

QStringList rowCodes(const core::RowTable& rows)
{
    QStringList codes;
    for (int r = 1; r <= rows.MachineRowCount(); ++r) codes << rows.row(r).RowCode;
    return codes;
}

TEST_P(MachineRows, BlankRowThenSelectedMachinesThenSuppliers)
{
    machine(d(), QStringLiteral("M00"), QStringLiteral("他課"), {{QStringLiteral("工程分類コード"), QStringLiteral("20")}});
    machine(d(), QStringLiteral("M03"), QStringLiteral("廃棄"), {{QStringLiteral("削除フラグ"), QStringLiteral("1")}});
    machine(d(), QStringLiteral("M04"), QStringLiteral("選択外"));
    machine(d(), QStringLiteral("M05"), QStringLiteral("選択"));
    insert(d(), QStringLiteral("DB0497"), {{QStringLiteral("担当者コード"), QStringLiteral("T1")}, {QStringLiteral("機械コード"), QStringLiteral("M04")},
                                           {QStringLiteral("選択"), QStringLiteral("0")}});
    insert(d(), QStringLiteral("DB0497"), {{QStringLiteral("担当者コード"), QStringLiteral("T1")}, {QStringLiteral("機械コード"), QStringLiteral("M05")},
                                           {QStringLiteral("選択"), QStringLiteral("1")}});
    // Another operator's choice does not count for T1.
    insert(d(), QStringLiteral("DB0497"), {{QStringLiteral("担当者コード"), QStringLiteral("T2")}, {QStringLiteral("機械コード"), QStringLiteral("M01")},
                                           {QStringLiteral("選択"), QStringLiteral("0")}});
    insert(d(), QStringLiteral("DB0369"), {{QStringLiteral("仕入先コード"), QStringLiteral("S1")}, {QStringLiteral("仕入先名略名"), QStringLiteral("山田(第二)")},
                                           {QStringLiteral("仕入先分類"), QStringLiteral("2")}});
    insert(d(), QStringLiteral("DB0369"), {{QStringLiteral("仕入先コード"), QStringLiteral("S2")}, {QStringLiteral("仕入先名略名"), QStringLiteral("鈴木（本社）")},
                                           {QStringLiteral("仕入先分類"), QStringLiteral("2")}});
    insert(d(), QStringLiteral("DB0369"), {{QStringLiteral("仕入先コード"), QStringLiteral("S3")}, {QStringLiteral("仕入先名略名"), QStringLiteral("商社")},
                                           {QStringLiteral("仕入先分類"), QStringLiteral("1")}});
    for (const char* code : {"S1", "S2", "S3"})
        insert(d(), QStringLiteral("DB0493"), {{QStringLiteral("指示先コード"), QString::fromLatin1(code)},
                                               {QStringLiteral("工程分類コード"), QStringLiteral("10")}});

    plan::loading::subResourcesSet(d(), s, planner, prompt);

    const core::RowTable& rows = planner.rows;
    EXPECT_EQ(rowCodes(rows), (QStringList{QStringLiteral(" "), QStringLiteral("M01"), QStringLiteral("M02"), QStringLiteral("M05"),
                                           QStringLiteral("S1"), QStringLiteral("S2")}));
    EXPECT_EQ(rows.CalendarMachineCount, 4);
    EXPECT_EQ(rows.KikaiRowCount, 4);
    EXPECT_EQ(rows.row(2).RowLabel, QStringLiteral("M01 成形機1"));
    EXPECT_EQ(rows.row(5).RowLabel, QStringLiteral("S1\r山田\r(第二)"));
    EXPECT_EQ(rows.row(6).RowLabel, QStringLiteral("S2\r鈴木\r（本社）"));
    EXPECT_EQ(rows.row(6).RowName, QStringLiteral("鈴木（本社）"));
    EXPECT_DOUBLE_EQ(rows.row(3).RowCenterY, 1500);
    EXPECT_DOUBLE_EQ(rows.row(3).RowBoundY, 1800);
    EXPECT_TRUE(prompt.told.isEmpty());
}

TEST_P(MachineRows, CalendarPeriodAndWorkingTimeMinusBreaks)
{
    plan::loading::subResourcesSet(d(), s, planner, prompt);

    // 2024/05/01 .. 05/07: seven days plus three.
    EXPECT_EQ(planner.CalendarDays(), 9);
    EXPECT_EQ(planner.PeriodStart, s.PeriodStart);
    EXPECT_EQ(planner.GridMinutes, 10);
    ASSERT_EQ(planner.calendar.machineCount(), 3);
    // Day index 0 is 04/29: before the month of shifts, so empty.
    EXPECT_TRUE(planner.calendar.day(0, 2).CalTime[1].isZero());
    // Index 2 is the period start: 08:00-12:00 and 13:00-17:00.
    const core::MachineDay& day = planner.calendar.day(2, 2);
    EXPECT_EQ(day.KinmuJikan, 8);
    EXPECT_EQ(day.CalTime[1], TimeOfDay::fromHms(8, 0));
    EXPECT_EQ(day.CalTime[2], TimeOfDay::fromHms(12, 0));
    EXPECT_EQ(day.CalTime[3], TimeOfDay::fromHms(13, 0));
    EXPECT_EQ(day.CalTime[4], TimeOfDay::fromHms(17, 0));
    // The last index is 05/08, inside the statement's date range.
    EXPECT_EQ(planner.calendar.day(9, 3).CalTime[1], TimeOfDay::fromHms(8, 0));
}

TEST_P(MachineRows, NumericAndGarbageTimesOfDay)
{
    d().exec(QStringLiteral("DELETE FROM DB0496"));
    // 80000 is 08:00:00 and 90000 is 09:00:00; "xx" is no time: the second pair is empty.
    breakMaster(d(), {{QStringLiteral("開始時刻１"), QStringLiteral("80000")}, {QStringLiteral("終了時刻１"), QStringLiteral("90000")},
                      {QStringLiteral("開始時刻２"), QStringLiteral("xx")}, {QStringLiteral("終了時刻２"), QStringLiteral("")}});
    d().exec(QStringLiteral("UPDATE DB0491 SET 開始時刻１='abc' WHERE 機械コード='M02'"));

    plan::loading::subResourcesSet(d(), s, planner, prompt);

    EXPECT_EQ(planner.calendar.BreakTime[1], TimeOfDay::fromHms(8, 0));
    EXPECT_EQ(planner.calendar.BreakTime[2], TimeOfDay::fromHms(9, 0));
    EXPECT_EQ(planner.calendar.BreakTime[3], TimeOfDay());
    EXPECT_EQ(planner.calendar.BreakTime[4], TimeOfDay());
    EXPECT_EQ(planner.calendar.day(2, 2).CalTime[1], TimeOfDay::fromHms(9, 0));
    EXPECT_EQ(planner.rows.MachineRowCount(), 3);  // the garbage did not cost M02 its row
}

TEST_P(MachineRows, EmptyBreakMasterIsToldAndEndsTheLoad)
{
    d().exec(QStringLiteral("DELETE FROM DB0496"));
    EXPECT_THROW(plan::loading::subResourcesSet(d(), s, planner, prompt), plan::loading::BreakMasterEmpty);
    EXPECT_EQ(prompt.told, QStringList{QStringLiteral("休憩マスタにデータがありません。")});
}

TEST_P(MachineRows, NoMachinesStillGivesTheBlankRow)
{
    s.processClassCode = QStringLiteral("99");
    plan::loading::subResourcesSet(d(), s, planner, prompt);
    EXPECT_EQ(planner.rows.MachineRowCount(), 1);
    EXPECT_EQ(planner.rows.CalendarMachineCount, 1);
}

TEST_P(MachineRows, CodesWithQuotesAreData)
{
    s.TantoCode = QStringLiteral("O'Brien");
    s.processClassCode = QStringLiteral("1'0");
    machine(d(), QStringLiteral("Q'1"), QStringLiteral("引用符"), {{QStringLiteral("工程分類コード"), QStringLiteral("1'0")}});
    plan::loading::subResourcesSet(d(), s, planner, prompt);
    EXPECT_EQ(rowCodes(planner.rows), (QStringList{QStringLiteral(" "), QStringLiteral("Q'1")}));
}

PLANNER_PLANT_ON_EVERY_KIND(MachineRows);

TEST(MachineStatement, NullFunctionFollowsTheDatabaseKind)
{
    using plan::loading::statements::machines;
    const QString oracle = machines(db::Dialect(db::Kind::Oracle), 3);
    const QString sqlServer = machines(db::Dialect(db::Kind::SqlServer), 3);
    EXPECT_TRUE(oracle.contains(QStringLiteral(" , NVL(DB0497.選択,1) 選択 FROM DB0394")));
    EXPECT_TRUE(sqlServer.contains(QStringLiteral(" , ISNULL(DB0497.選択,1) 選択 FROM DB0394")));
    EXPECT_EQ(QString(oracle).replace(QStringLiteral("NVL("), QStringLiteral("ISNULL(")), sqlServer);
    EXPECT_TRUE(machines(db::Dialect(db::Kind::Sqlite), 3).contains(QStringLiteral(" , COALESCE(")));
    EXPECT_TRUE(oracle.contains(QStringLiteral("DB0394.生産工場コード=3   AND DB0394.工程分類コード=?")));
    EXPECT_EQ(oracle.count(u'?'), 2);
}

}  // namespace
