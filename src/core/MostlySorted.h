#pragma once
// Sorting lists that are in order but for what was added or moved at their end
// (rows of bars, records an action touched): the ordered front is kept, only the
// tail is sorted, and the two are merged: about linear time for such lists.
// Equal elements of the tail may change places, so `less` should be a total order.

#include <algorithm>
#include <functional>

namespace core {

template <typename It, typename Less = std::less<>>
void sortMostlySorted(It first, It last, Less less = {})
{
    It sortedEnd = std::is_sorted_until(first, last, less);
    // A few late comers (a dropped bar joining its row) are moved into place one
    // by one; the merge below would take a buffer from the heap for them.
    constexpr std::ptrdiff_t kFewLateComers = 8;
    if (last - sortedEnd <= kFewLateComers) {
        for (; sortedEnd != last; ++sortedEnd)
            std::rotate(std::upper_bound(first, sortedEnd, *sortedEnd, less), sortedEnd, std::next(sortedEnd));
        return;
    }
    std::sort(sortedEnd, last, less);
    std::inplace_merge(first, sortedEnd, last, less);
}

}  // namespace core
