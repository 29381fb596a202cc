// The schedule list's rules without its window: the search with its date
// checks and patterns, and the sort keys.
#include "RuleTestSupport.h"

#include "reschedule/ScheduleList.h"

using namespace rules_test;
namespace sl = reschedule::schedule_list;

namespace {

class ScheduleListRules : public RuleTest {
protected:
    std::vector<int> sorted(std::vector<int> records, int column, bool descending = false)
    {
        sl::sortRecords(plan, records, column, descending);
        return records;
    }
    std::vector<std::int64_t> orderNos(const std::vector<int>& records)
    {
        std::vector<std::int64_t> out;
        for (int i : records) out.push_back(plan[i].orderNo);
        return out;
    }
};

TEST_F(ScheduleListRules, NumbersAndDatesSortByValueTextsByText)
{
    const int a = addBar(10, "M1", at(2, 8), 60, 10);
    const int b = addBar(9, "M1", at(2, 8), 60, 9);
    const int c = addBar(100, "M1", at(2, 8), 60, 100);
    const int d = addBar(9, "M1", at(2, 8), 60, 9);  // equal keys keep their order
    EXPECT_EQ(sorted({a, b, c, d}, sl::ColOrderQty), std::vector<int>({b, d, a, c})) << "9 before 10";
    EXPECT_EQ(sorted({a, b, c, d}, sl::ColOrderQty, true), std::vector<int>({c, a, b, d}));

    // Beyond ten digits and below zero the padded text would mislead; the value does not.
    rec(a).orderNo = 12345678901;
    rec(b).orderNo = 2345678902;
    rec(c).orderNo = -1;
    EXPECT_EQ(orderNos(sorted({a, b, c}, sl::ColOrderNo)), std::vector<std::int64_t>({-1, 2345678902, 12345678901}));

    // Dates by the date (a century apart, one missing), not by "yy/mm/dd".
    rec(a).endDate = Date::fromYmd(2000, 1, 1);
    rec(b).endDate = Date::fromYmd(1999, 12, 31);
    rec(c).endDate = Date();
    EXPECT_EQ(sorted({a, b, c}, sl::ColDue), std::vector<int>({c, b, a}));

    rec(a).machineCodeDb = "M2";
    rec(b).machineCodeDb = " ";
    rec(c).machineCodeDb = "M10";
    EXPECT_EQ(sorted({a, b, c}, sl::ColMachine), std::vector<int>({c, a, b})) << "\"M10\" < \"M2\" < \"未設定\"";
}

TEST_F(ScheduleListRules, DueDateBoxesAreCheckedInOrder)
{
    const auto message = [](const QString& from, const QString& to) { return sl::checkDueDates(from, to).message; };
    EXPECT_EQ(message("", "2024/04/30"), "納期始期に日付を入力して下さい。");
    EXPECT_EQ(message("2024/02/30", ""), "納期始期に日付を正しく入力して下さい。");
    EXPECT_EQ(message("2024/04/01", " "), "納期終期に日付を入力して下さい。");
    EXPECT_EQ(message("2024/04/01", "4月末"), "納期終期に日付を正しく入力して下さい。");
    const sl::DueDateCheck ok = sl::checkDueDates("２０２４/４/１", "2024-04-30");
    ASSERT_TRUE(ok.ok());
    EXPECT_EQ(ok.from, day(1));
    EXPECT_EQ(ok.to, day(30));
    EXPECT_EQ(sl::dateErrorTitle(), "日付入力エラー");
}

TEST_F(ScheduleListRules, SearchKeepsContainedCodesWithinTheDueRange)
{
    const int i = addBar(1, "M1", at(2, 8), 60);
    rec(i).itemCode2 = "XAB-1";
    rec(i).mouldShortName = "K[7]";
    rec(i).endDate = day(10);
    sl::Criteria c{"AB", "", day(10), day(10)};
    EXPECT_TRUE(sl::matches(plan[i], c)) << "contains, both bounds included";
    c.from = day(11);
    EXPECT_FALSE(sl::matches(plan[i], c));
    c = {"ab", "", day(1), day(30)};
    EXPECT_FALSE(sl::matches(plan[i], c)) << "the list compares as the plant's programs do: case kept";
    c = {"A?-#", "[", day(1), day(30)};
    EXPECT_TRUE(sl::matches(plan[i], c)) << "pattern characters; a [ never closed is itself";
    c = {"[!X]AB", "K[[]7", day(1), day(30)};
    EXPECT_FALSE(sl::matches(plan[i], c));
    EXPECT_TRUE(sl::likeMatch(u"K[7]", u"K[[]7]"));
    EXPECT_TRUE(sl::likeMatch(u"AB-1", u"[A-C]B*"));
    EXPECT_FALSE(sl::likeMatch(u"AB-1", u"[!A-C]B*"));
}

}  // namespace
