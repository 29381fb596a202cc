// The plan table grows without moving its records, and an undo that takes
// appended records back and a redo that brings them again keep that true.
#include "plan/ChunkedVector.h"
#include "plan/PlanData.h"
#include "plan/PlanHistory.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(ChunkedVector, ElementsStayPutAcrossChunksAndCopiesAreEqual)
{
    plan::ChunkedVector<int, 2> v;  // chunks of four
    std::vector<const int*> where;
    for (int i = 0; i < 11; ++i) {
        v.push_back(i);
        where.push_back(&v[std::size_t(i)]);
    }
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(&v[std::size_t(i)], where[std::size_t(i)]) << i;
        EXPECT_EQ(v[std::size_t(i)], i);
    }
    EXPECT_THROW(v.at(11), std::out_of_range);

    plan::ChunkedVector<int, 2> copy = v;
    EXPECT_TRUE(copy == v);
    copy.truncate(4);  // exactly one whole chunk left
    EXPECT_EQ(copy.size(), 4u);
    EXPECT_FALSE(copy == v);
    for (int i = 4; i < 11; ++i) copy.push_back(i);
    EXPECT_TRUE(copy == v);
    EXPECT_EQ(&v[3], where[3]) << "the original is untouched by its copy";
    int sum = 0;
    copy.forEach([&](int x) { sum += x; });
    EXPECT_EQ(sum, 55);
}

TEST(PlanTable, RecordsKeepTheirPlaceThroughGrowthUndoAndRedo)
{
    plan::PlanData plan;
    plan::PlanHistory history(plan);
    for (int i = 0; i < 300; ++i) {
        plan::PlanRecord r;
        r.barIndex = i + 2;
        r.orderNo = 1000 + i;
        plan.append(std::move(r));
    }
    const plan::PlanRecord* first = &plan[2];
    history.begin(QStringLiteral("追加"));
    for (int i = 0; i < 600; ++i) {  // across several chunks
        plan::PlanRecord r;
        r.barIndex = 400 + i;
        plan.append(std::move(r));
    }
    plan.edit(2).orderNo = 7;
    history.end();
    EXPECT_EQ(&plan[2], first);
    EXPECT_EQ(plan.size(), 901);

    ASSERT_TRUE(history.undo());
    EXPECT_EQ(plan.size(), 301);
    EXPECT_EQ(plan[2].orderNo, 1000);
    EXPECT_EQ(&plan[2], first);
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(plan.size(), 901);
    EXPECT_EQ(plan[901].barIndex, 999);
    EXPECT_EQ(plan[2].orderNo, 7);
    EXPECT_EQ(plan.findByBarIndex(999), 901);
}

}  // namespace
