// Sorting lists that are in order but for their tail, against a full stable sort:
// a few late comers (moved in one by one) and many (sorted and merged), with
// duplicates of what is already there.
#include "core/MostlySorted.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

TEST(MostlySorted, AgreesWithAStableSortForShortAndLongTails)
{
    std::mt19937 rng(5);
    // (key, arrival): sorting by key alone must keep arrivals of equal keys in order
    // when they come one by one behind the ordered front.
    using Item = std::pair<int, int>;
    const auto byKey = [](const Item& a, const Item& b) { return a.first < b.first; };
    for (int tail : {0, 1, 2, 8, 9, 40}) {
        for (int round = 0; round < 50; ++round) {
            std::vector<Item> v;
            for (int i = 0; i < 60; ++i) v.emplace_back(int(rng() % 30), i);
            std::stable_sort(v.begin(), v.end(), byKey);
            for (int i = 0; i < tail; ++i) v.emplace_back(int(rng() % 32) - 1, 100 + i);
            std::vector<Item> expected = v;
            std::stable_sort(expected.begin(), expected.end(), byKey);
            core::sortMostlySorted(v.begin(), v.end(), byKey);
            ASSERT_TRUE(std::is_sorted(v.begin(), v.end(), byKey)) << "tail " << tail;
            if (tail <= 8) {
                ASSERT_EQ(v, expected) << "tail " << tail << ": late comers stay behind equal keys";
            }
        }
    }
    std::vector<int> empty;
    core::sortMostlySorted(empty.begin(), empty.end());
    EXPECT_TRUE(empty.empty());
}
