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
    const It sortedEnd = std::is_sorted_until(first, last, less);
    std::sort(sortedEnd, last, less);
    std::inplace_merge(first, sortedEnd, last, less);
}

}  // namespace core
