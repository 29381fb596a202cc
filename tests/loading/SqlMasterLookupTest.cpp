// The master look-ups a drop makes, each answered from the database once.

#include "PlanTestPlant.h"
#include "store/loading/SqlMasterLookup.h"

using namespace plantest;

namespace {

class MasterLookups : public PlantFixture {
protected:
    int statements = 0;
    store::SqlMasterLookup& lookup()
    {
        if (!lookup_) {
            lookup_.emplace(d(), 1);
            d().beforeStatement = [this](const QString&) { ++statements; };
        }
        return *lookup_;
    }
    std::optional<store::SqlMasterLookup> lookup_;
};

TEST_P(MasterLookups, CycleAndProductivityOnceEach)
{
    insert(d(), "DB0492", {{"品名コード", "ITEM-A"}, {"順序", 1}, {"機械コード", "M02"}, {"サイクル", 18.5}});
    insert(d(), "DB0492", {{"品名コード", "ITEM-A"}, {"順序", 1}, {"機械コード", "M01"}, {"サイクル", 9}, {"削除フラグ", "1"}});
    d().exec(QStringLiteral("UPDATE DB0381 SET 標準生産性＿機械=30, 生産性＿機械＿単位='5'"));
    insert(d(), "DB0381", {{"品名コード", "ITEM-A"}, {"順序", 1}, {"生産工場コード", 0}, {"標準生産性＿機械", 7}, {"生産性＿機械＿単位", "1"}});
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(lookup().machineCycle(QStringLiteral("ITEM-A"), 1, QStringLiteral("M02")), 18.5);
        EXPECT_EQ(lookup().machineCycle(QStringLiteral("ITEM-A"), 1, QStringLiteral("M01")), std::nullopt);  // deleted
        const auto p = lookup().routingProductivity(QStringLiteral("ITEM-A"), 1);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->value, 30);  // this factory's routing, not factory 0's
        EXPECT_EQ(p->unitClass, 5);
        EXPECT_FALSE(lookup().routingProductivity(QStringLiteral("ITEM-A"), 9));
        EXPECT_EQ(statements, 4);
    }
}

TEST_P(MasterLookups, MachineDestinationOrTheDepartmentsFirstSection)
{
    d().exec(QStringLiteral("UPDATE DB0394 SET 指示先コード='D-100' WHERE 機械コード='M01'"));
    machine(d(), "M09", {{"指示先コード", "X"}});
    for (auto [section, flag] : {std::pair{0, "0"}, std::pair{1, "1"}, std::pair{3, "0"}, std::pair{2, "0"}})
        insert(d(), "DB0370", {{"部コード", 1}, {"課コード", section}, {"削除フラグ", flag}});
    insert(d(), "DB0370", {{"部コード", 2}, {"課コード", 1}});
    const QString firstSection = QStringLiteral("0102        ");
    EXPECT_EQ(lookup().machineDestination(QStringLiteral("M01")), QStringLiteral("D-100"));
    EXPECT_EQ(lookup().machineDestination(QStringLiteral("M02")), firstSection);  // blank
    EXPECT_EQ(lookup().machineDestination(QStringLiteral("M09")), firstSection);  // one character
    EXPECT_EQ(lookup().machineDestination(QStringLiteral("NONE")), firstSection);  // no machine row
    EXPECT_EQ(statements, 5);  // four machines, the department once
}

TEST_P(MasterLookups, RequirementRuleFromTheComponentsUnit)
{
    insert(d(), "DB0378", {{"品名コード", "C'1"}, {"基本単位", "KG"}});
    insert(d(), "DB0380", {{"単位コード", "KG"}, {"端数処理区分", "2"}, {"端数処理桁位置", 1}});
    insert(d(), "DB0252", {{"上位手配番号", 77}, {"品名コード", "C'1"}, {"順序", 1}, {"原単位分子", 1}, {"原単位分母", 3}, {"不良率", 2.5}});
    insert(d(), "DB0252", {{"上位手配番号", 77}, {"品名コード", "NOUNIT"}, {"順序", 1}, {"原単位分子", 4}});
    const auto rule = lookup().requirementRule(77, QStringLiteral("C'1"));
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->roundingKind, QStringLiteral("2"));
    EXPECT_EQ(rule->digitPosition, 1);
    EXPECT_EQ(rule->unitDen, 3);
    EXPECT_EQ(rule->defectRate, 2.5);
    const auto plain = lookup().requirementRule(77, QStringLiteral("NOUNIT"));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->roundingKind, QString());
    EXPECT_FALSE(lookup().requirementRule(78, QStringLiteral("C'1")));
}

PLANNER_PLANT_ON_EVERY_KIND(MasterLookups);

}  // namespace
