// The chart's rows and the machines' calendars as resourcesSet builds them.

#include "PlanTestPlant.h"
#include "store/loading/PlanLoading.h"
#include "store/loading/PlanStatements.h"

using namespace plantest;
using core::TimeOfDay;

namespace {

class MachineRows : public PlantFixture {
protected:
    QStringList codes() const
    {
        QStringList c;
        for (int r = 1; r <= planner.rows.machineRowCount(); ++r) c << planner.rows.row(r).RowCode;
        return c;
    }
};

TEST_P(MachineRows, BlankRowThenSelectedMachinesThenSuppliers)
{
    machine(d(), "M00", {{"工程分類コード", "20"}});
    machine(d(), "M03", {{"削除フラグ", "1"}});
    machine(d(), "M04");
    machine(d(), "M05");
    // T1 hid M04 and chose M05; T2's choice does not count for T1. No row: shown.
    using Texts = std::tuple<const char*, const char*, const char*>;
    for (auto [staff, code, chosen] : {Texts{"T1", "M04", "0"}, Texts{"T1", "M05", "1"}, Texts{"T2", "M01", "0"}})
        insert(d(), "DB0497", {{"担当者コード", staff}, {"機械コード", code}, {"選択", chosen}});
    for (auto [code, name, kind] : {Texts{"S1", "山田(第二)", "2"}, Texts{"S2", "鈴木（本社）", "2"}, Texts{"S3", "商社", "1"}}) {
        insert(d(), "DB0369", {{"仕入先コード", code}, {"仕入先名略名", name}, {"仕入先分類", kind}});
        insert(d(), "DB0493", {{"指示先コード", code}, {"工程分類コード", "10"}});
    }
    store::resourcesSet(d(), s, planner, prompt);

    EXPECT_EQ(codes(), (QStringList{" ", "M01", "M02", "M05", "S1", "S2"}));
    EXPECT_EQ(planner.rows.CalendarMachineCount, 4);
    EXPECT_EQ(planner.rows.KikaiRowCount, 4);
    EXPECT_EQ(planner.rows.row(2).RowLabel, QStringLiteral("M01 成形機"));
    EXPECT_EQ(planner.rows.row(5).RowLabel, QStringLiteral("S1\r山田\r(第二)"));
    EXPECT_EQ(planner.rows.row(6).RowLabel, QStringLiteral("S2\r鈴木\r（本社）"));
    EXPECT_DOUBLE_EQ(planner.rows.row(3).RowBoundY, 1800);
}

TEST_P(MachineRows, CalendarOfThePeriodWithBreaksAndLooseTimes)
{
    // 80000 is 08:00:00; a pair with an unreadable time is no break.
    d().exec(QStringLiteral("UPDATE DB0496 SET 開始時刻２='80000', 終了時刻２='090000', 開始時刻３='xx', 終了時刻３=''"));
    d().exec(QStringLiteral("UPDATE DB0491 SET 開始時刻１='abc' WHERE 機械コード='M02'"));
    store::resourcesSet(d(), s, planner, prompt);

    EXPECT_EQ(planner.calendarDays(), 9);  // 05/01..05/07 plus three
    EXPECT_EQ(planner.calendar.BreakTime[3], TimeOfDay::fromHms(8, 0));
    EXPECT_TRUE(planner.calendar.BreakTime[5].isZero());
    EXPECT_TRUE(planner.calendar.day(0, 2).CalTime[1].isZero());  // 04/29: no calendar row
    const core::MachineDay& first = planner.calendar.day(2, 2);     // 05/01
    EXPECT_EQ(first.KinmuJikan, 8);
    const std::array<TimeOfDay, 4> periods{TimeOfDay::fromHms(9, 0), TimeOfDay::fromHms(12, 0), TimeOfDay::fromHms(13, 0),
                                           TimeOfDay::fromHms(17, 0)};
    for (int slot = 1; slot <= 4; ++slot) EXPECT_EQ(first.CalTime[std::size_t(slot)], periods[std::size_t(slot - 1)]);
    EXPECT_EQ(planner.calendar.day(9, 2).CalTime[1], TimeOfDay::fromHms(9, 0));  // 05/08, the last day read
    EXPECT_EQ(planner.rows.machineRowCount(), 3);  // M02's garbage did not cost it its row
}

TEST_P(MachineRows, EmptyBreakMasterIsToldAndEndsTheLoad)
{
    d().exec(QStringLiteral("DELETE FROM DB0496"));
    EXPECT_THROW(store::resourcesSet(d(), s, planner, prompt), store::BreakMasterEmpty);
    EXPECT_EQ(prompt.told, QStringList{QStringLiteral("休憩マスタにデータがありません。")});
}

TEST_P(MachineRows, CodesWithQuotesAreDataAndNoMachinesLeaveRowOne)
{
    s.TantoCode = QStringLiteral("O'Brien");
    s.processClassCode = QStringLiteral("1'0");
    store::resourcesSet(d(), s, planner, prompt);
    EXPECT_EQ(codes(), QStringList{" "});
    machine(d(), "Q'1", {{"工程分類コード", "1'0"}});
    store::resourcesSet(d(), s, planner, prompt);
    EXPECT_EQ(codes(), (QStringList{" ", "Q'1"}));
}

PLANNER_PLANT_ON_EVERY_KIND(MachineRows);

TEST(MachineStatement, OnlyTheNullFunctionFollowsTheDatabaseKind)
{
    using store::statements::machines;
    const QString oracle = machines(db::Dialect(db::Kind::Oracle), 3);
    EXPECT_TRUE(oracle.contains(QStringLiteral(" , NVL(DB0497.選択,1) 選択 FROM DB0394")));
    EXPECT_EQ(QString(oracle).replace(QStringLiteral("NVL("), QStringLiteral("ISNULL(")), machines(db::Dialect(db::Kind::SqlServer), 3));
    EXPECT_TRUE(machines(db::Dialect(db::Kind::PostgreSql), 3).contains(QStringLiteral(" , COALESCE(")));
    EXPECT_TRUE(oracle.contains(QStringLiteral("DB0394.生産工場コード=3   AND DB0394.工程分類コード=?")));
}

}  // namespace
