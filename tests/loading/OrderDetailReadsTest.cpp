// The detail window's reads: the related orders, the neighbouring processes,
// the variants and the item names of one order, with every value bound.

#include "PlanTestPlant.h"
#include "store/loading/OrderDetailReads.h"

using namespace plantest;

namespace {

class DetailReads : public PlantFixture {
protected:
    store::SqlOrderDetailLookup& reads()
    {
        if (!reads_) reads_.emplace(d(), 1);
        return *reads_;
    }
    std::optional<store::SqlOrderDetailLookup> reads_;
};

TEST_P(DetailReads, RelatedCustomerOrdersAndRequirementPlans)
{
    insert(d(), "DB0361", {{"得意先コード", "C001"}, {"得意先略名", QStringLiteral("東和電機(株)")}});
    insert(d(), "DB0378", {{"品名コード", "P-9"}, {"品名＿品名仕様", QStringLiteral("ポンプ筐体")}});
    insert(d(), "DB0204", {{"受注番号", 700002}, {"得意先コード", "C001"}, {"品名コード", "P-9"}, {"納期", "20240520"},
                           {"注文番号", "PO-1"}, {"受注数量", 500}, {"出荷数量", 120}});
    insert(d(), "DB0204", {{"受注番号", 700001}, {"得意先コード", "C001"}, {"品名コード", "P-9"}, {"納期", "20240515"},
                           {"注文番号", "PO-0"}, {"受注数量", 50}, {"出荷数量", 0}});
    insert(d(), "DB0204", {{"受注番号", 700003}, {"品名コード", "P-9"}, {"受注数量", 9}, {"削除フラグ", "1"}});
    insert(d(), "DB0202", {{"所要計画No", 800001}, {"品名コード", "P-9"}, {"得意先コード", "C001"}, {"納期", "20240601"},
                           {"所要計画数量", 300}});
    for (auto [no, kind, flag] : {std::tuple{800001, "2", "0"}, std::tuple{700002, "1", "0"}, std::tuple{700001, "1", "0"},
                                  std::tuple{700003, "1", "0"}, std::tuple{700009, "1", "1"}})
        insert(d(), "DB0494", {{"番号", no}, {"受注データ区分", kind}, {"手配番号", 42}, {"削除フラグ", flag}});
    insert(d(), "DB0494", {{"番号", 700001}, {"受注データ区分", "1"}, {"手配番号", 43}});

    const auto rows = reads().relatedOrders(42);
    ASSERT_EQ(rows.size(), 3u);  // the deleted link and the deleted order are left out
    EXPECT_TRUE(rows[0].customerOrder);
    EXPECT_EQ(rows[0].number, 700001);
    EXPECT_EQ(rows[1].number, 700002);
    EXPECT_EQ(rows[1].orderText, "PO-1");
    EXPECT_EQ(rows[1].itemName, QStringLiteral("ポンプ筐体"));
    EXPECT_EQ(rows[1].customerName, QStringLiteral("東和電機(株)"));
    EXPECT_EQ(rows[1].due, core::Date::fromYmd(2024, 5, 20));
    EXPECT_EQ(rows[1].remaining, 380);
    EXPECT_FALSE(rows[2].customerOrder);
    EXPECT_EQ(rows[2].number, 800001);
    EXPECT_EQ(rows[2].remaining, 300);
    EXPECT_EQ(rows[2].due, core::Date::fromYmd(2024, 6, 1));
    EXPECT_TRUE(reads().relatedOrders(44).empty());
}

TEST_P(DetailReads, PreviousAndNextProcessTimes)
{
    order(d(), 10, {{"上位手配番号", 20}, {"納期", "20240503"}, {"作業終了時間", "153000"}});
    order(d(), 11, {{"上位手配番号", 20}, {"納期", "20240504"}, {"作業終了時間", "101500"}});
    order(d(), 12, {{"上位手配番号", 20}, {"納期", "20240509"}, {"削除フラグ", "1"}});
    order(d(), 13, {{"上位手配番号", 20}, {"生産工場コード", 2}, {"納期", "20240509"}});
    order(d(), 20, {{"上位手配番号", 30}});
    order(d(), 30, {{"開始日", "20240506"}, {"作業開始時間", "083000"}});
    const reschedule::NeighbourTimes t = reads().neighbourTimes(20, 30);
    EXPECT_EQ(t.beforeEndDate, core::Date::fromYmd(2024, 5, 4));  // the last supplier by number
    EXPECT_EQ(t.beforeEndTime, core::TimeOfDay::fromHms(10, 15));
    EXPECT_EQ(t.afterStartDate, core::Date::fromYmd(2024, 5, 6));
    EXPECT_EQ(t.afterStartTime, core::TimeOfDay::fromHms(8, 30));
    const reschedule::NeighbourTimes none = reads().neighbourTimes(10, 0);  // nothing supplies order 10
    EXPECT_TRUE(none.beforeEndDate.isNull());
    EXPECT_TRUE(none.afterStartDate.isNull());
}

TEST_P(DetailReads, VariantsWithTheirUnitsRounding)
{
    insert(d(), "DB0380", {{"単位コード", "KG"}, {"端数処理区分", "3"}, {"端数処理桁位置", 253}});
    insert(d(), "DB0378", {{"品名コード", "R-1"}, {"品名＿品名仕様", QStringLiteral("樹脂A")}, {"基本単位", "KG"}});
    insert(d(), "DB0378", {{"品名コード", "R-2"}, {"品名＿品名仕様", QStringLiteral("樹脂B")}, {"基本単位", "KG"}});
    const auto bom = [&](const char* child, int variant, int order, double yield, const char* flag = "0") {
        insert(d(), "DB0383", {{"生産工場コード", 1}, {"上位品名コード", "ITEM-A"}, {"順序", 1}, {"下位品名コード", child},
                               {"表示順", order}, {"原単位分子", 1}, {"原単位分母", 4}, {"歩留率", yield},
                               {"構成選択順序", variant}, {"削除フラグ", flag}});
    };
    bom("R-2", 2, 1, 98);
    bom("K-1", 2, 2, 100);
    bom("R-1", 1, 1, 100);
    bom("X-0", 1, 2, 100, "1");
    const auto v = reads().variants(QStringLiteral("ITEM-A"), 1);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].number, 1);
    ASSERT_EQ(v[0].lines.size(), 1u);
    EXPECT_EQ(v[0].lines[0].itemName, QStringLiteral("樹脂A"));
    EXPECT_EQ(v[0].lines[0].roundingKind, "3");
    EXPECT_EQ(v[0].lines[0].digitPosition, 253);
    ASSERT_EQ(v[1].lines.size(), 2u);
    EXPECT_EQ(v[1].lines[0].itemCode, "R-2");
    EXPECT_DOUBLE_EQ(v[1].lines[0].defectRate, 2);
    EXPECT_EQ(v[1].lines[1].roundingKind, "");  // an item without a unit
    EXPECT_TRUE(reads().variants(QStringLiteral("ITEM-A"), 2).empty());
}

TEST_P(DetailReads, AVariantLessBillOfMaterialsGivesNoVariants)
{
    d().exec(QStringLiteral("DROP TABLE DB0383"));
    d().exec(QStringLiteral("CREATE TABLE DB0383 (生産工場コード INTEGER, 上位品名コード VARCHAR(20), 順序 INTEGER, "
                            "下位品名コード VARCHAR(20), 表示順 INTEGER, 原単位分子 NUMERIC, 原単位分母 NUMERIC, 歩留率 NUMERIC, "
                            "削除フラグ VARCHAR(1))"));
    EXPECT_TRUE(reads().variants(QStringLiteral("ITEM-A"), 1).empty());
    EXPECT_EQ(reads().itemNames(QStringLiteral("ITEM-A"))->modelName, QString());  // the connection still works
}

TEST_P(DetailReads, TypedItemCodesAreBoundNotPasted)
{
    insert(d(), "DB0378", {{"品名コード", "A'1"}, {"型番名", QStringLiteral("型番'A")}, {"型番名仕様ＡＮＫ", "KATA"}});
    const auto names = reads().itemNames(QStringLiteral("A'1"));
    ASSERT_TRUE(names);
    EXPECT_EQ(names->modelName, QStringLiteral("型番'A"));
    EXPECT_EQ(names->modelNameAnk, "KATA");
    EXPECT_FALSE(reads().itemNames(QStringLiteral("' OR '1'='1")));
}

PLANNER_PLANT_ON_EVERY_KIND(DetailReads);

}  // namespace
