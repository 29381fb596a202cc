// The master look-ups a drop makes, each answered from the database once.

#include "PlanTestPlant.h"
#include "plan/loading/SqlMasterLookup.h"

using namespace plantest;

namespace {

class MasterLookups : public PlantFixture {
protected:
    void SetUp() override
    {
        PlantFixture::SetUp();
        if (IsSkipped()) return;
        d().beforeStatement = [this](const QString&) { ++statementCount; };
    }
    int statementCount = 0;
};

TEST_P(MasterLookups, MachineCycleOnceFromTheDatabase)
{
    insert(d(), QStringLiteral("DB0492"), {{QStringLiteral("品名コード"), QStringLiteral("ITEM-A")}, {QStringLiteral("順序"), 1},
                                           {QStringLiteral("機械コード"), QStringLiteral("M02")}, {QStringLiteral("サイクル"), 18.5}});
    insert(d(), QStringLiteral("DB0492"), {{QStringLiteral("品名コード"), QStringLiteral("ITEM-A")}, {QStringLiteral("順序"), 1},
                                           {QStringLiteral("機械コード"), QStringLiteral("M01")}, {QStringLiteral("サイクル"), 9},
                                           {QStringLiteral("削除フラグ"), QStringLiteral("1")}});
    plan::loading::SqlMasterLookup lookup(d(), 1);
    statementCount = 0;
    EXPECT_EQ(lookup.machineCycle(QStringLiteral("ITEM-A"), 1, QStringLiteral("M02")), 18.5);
    EXPECT_EQ(lookup.machineCycle(QStringLiteral("ITEM-A"), 1, QStringLiteral("M01")), std::nullopt);  // deleted
    EXPECT_EQ(lookup.machineCycle(QStringLiteral("ITEM-A"), 2, QStringLiteral("M02")), std::nullopt);
    EXPECT_EQ(statementCount, 3);
    EXPECT_EQ(lookup.machineCycle(QStringLiteral("ITEM-A"), 1, QStringLiteral("M02")), 18.5);
    EXPECT_EQ(lookup.machineCycle(QStringLiteral("ITEM-A"), 2, QStringLiteral("M02")), std::nullopt);
    EXPECT_EQ(statementCount, 3);
    lookup.clear();
    lookup.machineCycle(QStringLiteral("ITEM-A"), 1, QStringLiteral("M02"));
    EXPECT_EQ(statementCount, 4);
}

TEST_P(MasterLookups, RoutingProductivityOfThisFactory)
{
    d().exec(QStringLiteral("UPDATE DB0381 SET 標準生産性＿機械=30, 生産性＿機械＿単位='5'"));
    insert(d(), QStringLiteral("DB0381"), {{QStringLiteral("品名コード"), QStringLiteral("ITEM-A")}, {QStringLiteral("順序"), 1},
                                           {QStringLiteral("生産工場コード"), 0}, {QStringLiteral("標準生産性＿機械"), 7},
                                           {QStringLiteral("生産性＿機械＿単位"), QStringLiteral("1")}});
    plan::loading::SqlMasterLookup lookup(d(), 1);
    const auto p = lookup.routingProductivity(QStringLiteral("ITEM-A"), 1);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->value, 30);
    EXPECT_EQ(p->unitClass, 5);
    EXPECT_FALSE(lookup.routingProductivity(QStringLiteral("ITEM-A"), 9));
    plan::loading::SqlMasterLookup elsewhere(d(), 4);  // a factory without its own routing takes what there is
    EXPECT_TRUE(elsewhere.routingProductivity(QStringLiteral("ITEM-A"), 1));
}

TEST_P(MasterLookups, MachineDestinationOrTheDepartmentsFirstSection)
{
    d().exec(QStringLiteral("UPDATE DB0394 SET 指示先コード='D-100' WHERE 機械コード='M01'"));
    machine(d(), QStringLiteral("M09"), QStringLiteral("一文字"), {{QStringLiteral("指示先コード"), QStringLiteral("X")}});
    for (auto [dept, section, flag] : {std::tuple{1, 0, "0"}, std::tuple{1, 1, "1"}, std::tuple{1, 3, "0"}, std::tuple{1, 2, "0"}, std::tuple{2, 1, "0"}})
        insert(d(), QStringLiteral("DB0370"), {{QStringLiteral("部コード"), dept}, {QStringLiteral("課コード"), section},
                                               {QStringLiteral("部名"), QStringLiteral("製造部")}, {QStringLiteral("削除フラグ"), QString::fromLatin1(flag)}});
    plan::loading::SqlMasterLookup lookup(d(), 1);
    const QString firstSection = QStringLiteral("0102        ");
    EXPECT_EQ(lookup.machineDestination(QStringLiteral("M01")), QStringLiteral("D-100"));
    EXPECT_EQ(lookup.machineDestination(QStringLiteral("M02")), firstSection);  // blank
    EXPECT_EQ(lookup.machineDestination(QStringLiteral("M09")), firstSection);  // one character
    statementCount = 0;
    EXPECT_EQ(lookup.machineDestination(QStringLiteral("NONE")), firstSection);  // no machine row
    EXPECT_EQ(statementCount, 1);  // the department is read once
}

TEST_P(MasterLookups, RequirementRuleFromTheComponentsUnit)
{
    insert(d(), QStringLiteral("DB0378"), {{QStringLiteral("品名コード"), QStringLiteral("C'1")}, {QStringLiteral("基本単位"), QStringLiteral("KG")}});
    insert(d(), QStringLiteral("DB0380"), {{QStringLiteral("単位コード"), QStringLiteral("KG")}, {QStringLiteral("端数処理区分"), QStringLiteral("2")},
                                           {QStringLiteral("端数処理桁位置"), 1}});
    insert(d(), QStringLiteral("DB0252"), {{QStringLiteral("上位手配番号"), 77}, {QStringLiteral("品名コード"), QStringLiteral("C'1")},
                                           {QStringLiteral("順序"), 1}, {QStringLiteral("原単位分子"), 1}, {QStringLiteral("原単位分母"), 3},
                                           {QStringLiteral("不良率"), 2.5}});
    insert(d(), QStringLiteral("DB0252"), {{QStringLiteral("上位手配番号"), 77}, {QStringLiteral("品名コード"), QStringLiteral("NOUNIT")},
                                           {QStringLiteral("順序"), 1}, {QStringLiteral("原単位分子"), 4}});
    plan::loading::SqlMasterLookup lookup(d(), 1);
    const auto rule = lookup.requirementRule(77, QStringLiteral("C'1"));
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->roundingKind, QStringLiteral("2"));
    EXPECT_EQ(rule->digitPosition, 1);
    EXPECT_EQ(rule->unitNum, 1);
    EXPECT_EQ(rule->unitDen, 3);
    EXPECT_EQ(rule->defectRate, 2.5);
    const auto plain = lookup.requirementRule(77, QStringLiteral("NOUNIT"));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->roundingKind, QString());
    EXPECT_EQ(plain->digitPosition, 0);
    EXPECT_FALSE(lookup.requirementRule(78, QStringLiteral("C'1")));
}

PLANNER_PLANT_ON_EVERY_KIND(MasterLookups);

}  // namespace
