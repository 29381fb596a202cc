#pragma once
// The component rows (DB0252) of a save: the copies for orders created by a
// split, and the rebuild of every written order's components from its bar.

#include "store/saving/SaveContext.h"

namespace store {

// Step 4: each new order gets a copy of its source order's component rows,
// with nothing issued or received yet.
void copySplitComponents(SaveContext& ctx);

// Step 7: every row of a written order is marked deleted, then the bar's
// components are revived (or added from the bill of materials DB0383) with
// the bar's requirements. Orders that no longer carry a quantity keep none.
void rebuildComponents(SaveContext& ctx);

}  // namespace store
