// The bar search and the list search over the plan: what they match, how the
// bar search steps from match to match, and that the folded texts follow edits.
#include "RuleTestSupport.h"

#include "reschedule/PlanSearch.h"

using namespace rules_test;
using reschedule::PlanSearchIndex;

namespace {

class PlanSearch : public RuleTest {};

TEST_F(PlanSearch, MatchesNumbersCodesAndNamesInEitherWidthAndCase)
{
    const int a = addBar(4711, "M1", at(2, 8), 60);
    rec(a).itemCode = rec(a).itemCode2 = "ab-100";
    rec(a).modelName = "ｶﾊﾞｰ ﾌﾟﾚｰﾄ";
    const int merged = addBar(5000, "M1", at(3, 8), 60);
    rec(merged).membersA.push_back(plan::MemberOrder{.orderNo = 5001});
    PlanSearchIndex index(plan);
    const auto finds = [&](int rec, const QString& typed) { return index.matches(rec, PlanSearchIndex::needleOf(typed)); };
    EXPECT_TRUE(finds(a, "471"));
    EXPECT_TRUE(finds(a, "ＡＢ－１"));
    EXPECT_TRUE(finds(a, "カバー　プレート")) << "full-width kana and space against half-width";
    EXPECT_TRUE(finds(a, "ﾌﾟﾚ"));
    EXPECT_FALSE(finds(a, "バープ"));
    EXPECT_TRUE(finds(merged, "5001")) << "every order a merged bar holds";
    EXPECT_TRUE(finds(a, "  ")) << "a blank search finds everything";
    EXPECT_FALSE(finds(a, "100カ")) << "no match across two fields";

    // The folded text follows a changed record.
    rec(a).modelName = "ギア";
    EXPECT_TRUE(finds(a, "ｷﾞｱ"));
    EXPECT_FALSE(finds(a, "カバー"));
}

TEST_F(PlanSearch, NextAndPreviousWrapRoundAndSkipOrdersWithoutABar)
{
    const int a = addBar(101, "M1", at(2, 8), 60);
    const int gone = addBar(102, "M1", at(2, 9), 60);
    const int b = addBar(103, "M2", at(2, 8), 60);
    const int merged = addBar(104, "M2", at(2, 9), 60);
    const int other = addBar(200, "M2", at(2, 10), 60);
    rec(gone).isDeleted = true;
    rec(merged).isMergedAway = true;
    PlanSearchIndex index(plan);
    const QString n = PlanSearchIndex::needleOf("10");
    EXPECT_EQ(index.findNext(n, 0, false), a);
    EXPECT_EQ(index.findNext(n, a, false), b);
    EXPECT_EQ(index.findNext(n, b, false), a) << "wraps round";
    EXPECT_EQ(index.findNext(n, a, true), b) << "backwards wraps too";
    EXPECT_EQ(index.findNext(n, other, true), b);
    EXPECT_EQ(index.findNext(PlanSearchIndex::needleOf("200"), other, false), other) << "the only match comes back to itself";
    EXPECT_EQ(index.findNext(PlanSearchIndex::needleOf("999"), a, false), 0);
    EXPECT_EQ(index.findNext(PlanSearchIndex::needleOf(""), a, false), 0);
}

}  // namespace
