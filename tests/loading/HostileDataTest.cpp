// Other programs leave NULLs, garbage and dangling codes in the shared
// database. Loading copes with every one of them, and never writes.

#include "support/SessionLoad.h"
#include "PlanTestPlant.h"
#include "store/loading/PlanLoading.h"

#include <QSet>

using namespace plantest;
using core::TimeOfDay;

namespace {

class HostileData : public PlantFixture {
protected:
    void SetUp() override
    {
        PlantFixture::SetUp();
        if (IsSkipped()) return;
        // Bare minimum, everything else NULL (完納区分 set, or the order is not open).
        insert(d(), "DB0253", {{"手配番号", 901}, {"生産工場コード", 1}, {"品名コード", "ITEM-A"}, {"順序", 1}, {"削除フラグ", "0"}, {"完納区分", "0"}});
        order(d(), 902, {{"作業開始日付", "00000000"}, {"作業終了日付", "00000000"}, {"開始日", "00000000"}, {"納期", "00000000"},
                         {"GNT初期納期", "00000000"}, {"作業開始時間", "abc"}, {"作業終了時間", "99:99"}, {"機械コード", "ZZZ"},
                         {"完納区分", "1"}, {"GNT表示区分", "zz"}, {"スケジューラ固定区分", QVariant()}});
        item(d(), QStringLiteral("I'1"));
        machine(d(), "M'1");
        order(d(), 903, {{"品名コード", "I'1"}, {"機械コード", "M'1"}, {"指示先コード", "D'1"}, {"金型番号", "K'9"}});
        insert(d(), "DB0252", {{"上位手配番号", 903}, {"品名コード", "NO-SUCH"}, {"順序", 1}});
        order(d(), 905, {{"段取時間", 1e9}, {"作業時間", -3}, {"必要人員", 0}, {"生産計画番号", 123456}});
        order(d(), 0);
        insert(d(), "DB0491", {{"機械コード", "M01"}, {"年月日", "2024ab02"}, {"開始時刻１", "080000"}});
        d().exec(QStringLiteral("UPDATE DB0491 SET 停止開始時刻='120000', 停止時間=-5 WHERE 年月日='20240502'"));
        if (GetParam() == db::Kind::Sqlite) {  // only SQLite keeps text in number columns
            order(d(), 904, {{"手配数", "lots"}, {"段取時間", "x"}, {"作業時間", "1e999"}, {"サイクル", "-"}, {"必要人員", "two"},
                             {"セット品代表手配番号", "abc"}, {"作業開始時間", 80000}, {"作業終了時間", 170000.0}});
            insert(d(), "DB0252", {{"上位手配番号", "garbage"}, {"品名コード", "C1"}, {"順序", 1}});
            d().exec(QStringLiteral("UPDATE DB0491 SET 勤務時間='x', 停止時間='y' WHERE 年月日='20240503'"));
        }
        d().beforeStatement = [this](const QString& sql) {
            EXPECT_TRUE(sql.trimmed().startsWith(QStringLiteral("SELECT"), Qt::CaseInsensitive)) << sql.left(60).toStdString();
        };
    }
};

TEST_P(HostileData, LoadsWithFallBacksAndWritesNothing)
{
    store::resourcesSet(d(), s, planner, prompt);
    store::returnPlanData(d(), s, planner, plan);

    QSet<qint64> loaded;
    for (int i = 2; i <= plan.size(); ++i) loaded.insert(plan[i].orderNo);
    QSet<qint64> expected{901, 902, 903, 905};  // order number 0 is no order
    if (GetParam() == db::Kind::Sqlite) expected.insert(904);
    EXPECT_EQ(loaded, expected);

    EXPECT_EQ(rec(901).machineCode, QStringLiteral(" "));
    EXPECT_EQ(rec(901).startDate, s.PeriodStart);
    EXPECT_FALSE(rec(901).endDate.isNull());
    EXPECT_EQ(rec(902).machineCode, QStringLiteral("ZZZ"));  // kept: the order is shown, not lost
    EXPECT_EQ(rec(902).fixKind, plan::FixKind::Free);
    EXPECT_EQ(rec(902).startTime, s.DayChangeTime);  // both times unreadable: whole days
    EXPECT_FALSE(rec(902).startDate.isNull());
    EXPECT_EQ(rec(902).ganttDisplayKind, 0);
    EXPECT_EQ(rec(903).components[0].itemCode, QStringLiteral("NO-SUCH"));
    EXPECT_EQ(rec(905).setupMinutes, 0);
    EXPECT_EQ(rec(905).workMinutes, 0);
    if (GetParam() == db::Kind::Sqlite) {
        EXPECT_EQ(rec(904).orderQty, 0);
        EXPECT_FALSE(rec(904).isSetMember);
        EXPECT_EQ(rec(904).end(), core::Moment::of(core::Date::fromYmd(2024, 5, 2), TimeOfDay::fromHms(17, 0)));
    }
}

TEST_P(HostileData, ArrangingTheHostilePlanWritesNothing)
{
    EXPECT_NO_THROW(testing_support::loadAndArrange(d(), s, planner, plan, prompt));
    EXPECT_GE(plan.size(), 5);
}

PLANNER_PLANT_ON_EVERY_KIND(HostileData);

}  // namespace
