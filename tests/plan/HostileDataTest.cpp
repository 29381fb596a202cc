// Other programs leave NULLs, garbage and dangling codes in the shared
// database. Loading copes with every one of them, and never writes.

#include "PlanTestPlant.h"
#include "plan/loading/FieldValues.h"
#include "plan/loading/PlanSession.h"

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
        const bool sqlite = GetParam() == db::Kind::Sqlite;  // only SQLite stores text in number columns

        // Bare minimum: everything else NULL. 完納区分 must be set or the order is not open.
        insert(d(), QStringLiteral("DB0253"), {{QStringLiteral("手配番号"), 901}, {QStringLiteral("生産工場コード"), 1},
                                               {QStringLiteral("品名コード"), QStringLiteral("ITEM-A")}, {QStringLiteral("順序"), 1},
                                               {QStringLiteral("削除フラグ"), QStringLiteral("0")}, {QStringLiteral("完納区分"), QStringLiteral("0")}});
        order(d(), 902, {{QStringLiteral("作業開始日付"), QStringLiteral("00000000")}, {QStringLiteral("作業終了日付"), QStringLiteral("00000000")},
                         {QStringLiteral("開始日"), QStringLiteral("00000000")}, {QStringLiteral("納期"), QStringLiteral("00000000")},
                         {QStringLiteral("GNT初期納期"), QStringLiteral("00000000")}, {QStringLiteral("最終実績日"), QStringLiteral("")},
                         {QStringLiteral("作業開始時間"), QStringLiteral("abc")}, {QStringLiteral("作業終了時間"), QStringLiteral("99:99")},
                         {QStringLiteral("機械コード"), QStringLiteral("ZZZ")}, {QStringLiteral("完納区分"), QStringLiteral("1")},
                         {QStringLiteral("GNT表示区分"), QStringLiteral("zz")}, {QStringLiteral("スケジューラ固定区分"), QVariant()}});
        item(d(), QStringLiteral("I'1"));
        machine(d(), QStringLiteral("M'1"), QStringLiteral("引用'符"));
        order(d(), 903, {{QStringLiteral("品名コード"), QStringLiteral("I'1")}, {QStringLiteral("機械コード"), QStringLiteral("M'1")},
                         {QStringLiteral("指示先コード"), QStringLiteral("D'1")}, {QStringLiteral("金型番号"), QStringLiteral("K'9")}});
        insert(d(), QStringLiteral("DB0252"), {{QStringLiteral("上位手配番号"), 903}, {QStringLiteral("品名コード"), QStringLiteral("NO-SUCH")},
                                               {QStringLiteral("順序"), 1}});
        order(d(), 905, {{QStringLiteral("段取時間"), 1e9}, {QStringLiteral("作業時間"), -3}, {QStringLiteral("手配数"), -5},
                         {QStringLiteral("必要人員"), 0}, {QStringLiteral("生産計画番号"), 123456}});
        order(d(), 0);
        if (sqlite) {
            order(d(), 904, {{QStringLiteral("手配数"), QStringLiteral("lots")}, {QStringLiteral("段取時間"), QStringLiteral("x")},
                             {QStringLiteral("作業時間"), QStringLiteral("1e999")}, {QStringLiteral("サイクル"), QStringLiteral("-")},
                             {QStringLiteral("必要人員"), QStringLiteral("two")}, {QStringLiteral("セット品代表手配番号"), QStringLiteral("abc")},
                             {QStringLiteral("上位手配番号"), QStringLiteral("x")}, {QStringLiteral("作業開始時間"), 80000},
                             {QStringLiteral("作業終了時間"), 170000.0}});
            insert(d(), QStringLiteral("DB0252"), {{QStringLiteral("上位手配番号"), QStringLiteral("garbage")},
                                                   {QStringLiteral("品名コード"), QStringLiteral("C1")}, {QStringLiteral("順序"), 1}});
            d().exec(QStringLiteral("UPDATE DB0491 SET 勤務時間='x', 停止時間='y' WHERE 年月日='20240503'"));
        }
        insert(d(), QStringLiteral("DB0491"), {{QStringLiteral("機械コード"), QStringLiteral("M01")}, {QStringLiteral("年月日"), QStringLiteral("2024ab02")},
                                               {QStringLiteral("開始時刻１"), QStringLiteral("080000")}});
        d().exec(QStringLiteral("UPDATE DB0491 SET 停止開始時刻='120000', 停止時間=-5 WHERE 年月日='20240502'"));

        d().beforeStatement = [this](const QString& sql) { statements << sql.trimmed(); };
    }

    void expectNothingWritten()
    {
        for (const QString& sql : statements)
            EXPECT_TRUE(sql.startsWith(QStringLiteral("SELECT"), Qt::CaseInsensitive)) << sql.left(60).toStdString();
    }

    const plan::PlanRecord* rec(qint64 orderNo) const
    {
        for (int i = 2; i <= plan.size(); ++i)
            if (plan[i].orderNo == orderNo) return &plan[i];
        return nullptr;
    }

    QStringList statements;
    plan::PlanData plan;
};

TEST_P(HostileData, LoadsWithFallBacksAndWritesNothing)
{
    plan::loading::subResourcesSet(d(), s, planner, prompt);
    plan::loading::ReturnPlanData(d(), s, planner, plan);
    expectNothingWritten();

    QSet<qint64> loaded;
    for (int i = 2; i <= plan.size(); ++i) loaded.insert(plan[i].orderNo);
    QSet<qint64> expected{901, 902, 903, 905};
    if (GetParam() == db::Kind::Sqlite) expected.insert(904);
    EXPECT_EQ(loaded, expected);  // order number 0 is no order

    const plan::PlanRecord* bare = rec(901);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->machineCode, QStringLiteral(" "));
    EXPECT_EQ(bare->confirmKind, QStringLiteral("1"));
    EXPECT_EQ(bare->startDate, s.PeriodStart);
    EXPECT_FALSE(bare->endDate.isNull());
    EXPECT_EQ(bare->cavities, 0);

    const plan::PlanRecord* garbage = rec(902);
    ASSERT_TRUE(garbage);
    EXPECT_EQ(garbage->machineCode, QStringLiteral("ZZZ"));  // kept: the order is shown, not lost
    EXPECT_EQ(garbage->fixKind, QStringLiteral("0"));
    EXPECT_EQ(garbage->startTime, s.DayChangeTime);        // both times unreadable: whole days
    EXPECT_FALSE(garbage->startDate.isNull());
    EXPECT_TRUE(garbage->initialDueDate.isNull());
    EXPECT_TRUE(garbage->lastResultDate.isNull());
    EXPECT_EQ(garbage->ganttDisplayKind, 0);

    const plan::PlanRecord* quoted = rec(903);
    ASSERT_TRUE(quoted);
    EXPECT_EQ(quoted->machineCode, QStringLiteral("M'1"));
    EXPECT_EQ(quoted->destCode, QStringLiteral("D'1"));
    EXPECT_EQ(quoted->compItemCode[0], QStringLiteral("NO-SUCH"));
    EXPECT_TRUE(quoted->compItemName[0].isEmpty());
    EXPECT_EQ(quoted->mouldShortName, QString());

    const plan::PlanRecord* huge = rec(905);
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->setupMinutes, 0);
    EXPECT_EQ(huge->workMinutes, 0);
    EXPECT_EQ(huge->planItemCode, QString());  // no production plan row

    if (const plan::PlanRecord* text = rec(904)) {
        EXPECT_EQ(text->orderQty, 0);
        EXPECT_EQ(text->setRepOrderNo, 0);
        EXPECT_FALSE(text->isSetMember);
        EXPECT_EQ(text->startTime, TimeOfDay::fromHms(8, 0));
        EXPECT_EQ(text->endTime, TimeOfDay::fromHms(17, 0));
        EXPECT_GE(text->workMinutes, 0);
    }
}

TEST_P(HostileData, ArrangingTheHostilePlanWritesNothing)
{
    EXPECT_NO_THROW(plan::loading::loadAndArrange(d(), s, planner, plan, prompt));
    expectNothingWritten();
    EXPECT_GE(plan.size(), 5);
}

PLANNER_PLANT_ON_EVERY_KIND(HostileData);

TEST(FieldValues, LooseNumbersDatesAndTimes)
{
    using namespace plan::loading;
    EXPECT_EQ(numberOf(QVariant()), 0);
    EXPECT_EQ(numberOf(QStringLiteral(" 12.5 ")), 12.5);
    EXPECT_EQ(numberOf(QStringLiteral("1e999")), 0);
    EXPECT_EQ(integerOf(QStringLiteral("2.5")), 2);
    EXPECT_EQ(integerOf(QStringLiteral("3.5")), 4);
    EXPECT_EQ(integerOf(1e30), 0);
    EXPECT_TRUE(dateOf(QStringLiteral("00000000")).isNull());
    EXPECT_TRUE(dateOf(QStringLiteral("20240230")).isNull());
    EXPECT_EQ(dateOf(20240229), core::Date::fromYmd(2024, 2, 29));
    EXPECT_EQ(timeOf(80000), TimeOfDay::fromHms(8, 0));
    EXPECT_EQ(timeOf(QStringLiteral("80000")), TimeOfDay::fromHms(8, 0));
    EXPECT_EQ(timeOf(QStringLiteral("080000.000000")), TimeOfDay::fromHms(8, 0));
    EXPECT_EQ(timeOf(QVariant()), TimeOfDay());
    EXPECT_FALSE(timeOf(QStringLiteral("240000")));
    EXPECT_FALSE(timeOf(QStringLiteral("1234567")));
    EXPECT_FALSE(timeOf(-5));
    EXPECT_EQ(textOf(100.0), QStringLiteral("100"));
    EXPECT_EQ(groupedNumber(1234567), QStringLiteral("1,234,567"));
    EXPECT_EQ(groupedNumber(999), QStringLiteral("999"));
}

}  // namespace
