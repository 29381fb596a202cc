#pragma once
// The product-tag rows (DB0259) of a save.

#include "store/saving/SaveContext.h"

namespace store {

// Step 5: every new or changed order that stays live gets its order tag row
// (実績区分 ' ', 実績番号 0, 実績行番号 0) when it has none; an existing tag row
// keeps its issue state, which belongs to the tag printing.
void addMissingTags(SaveContext& ctx);

// The tag class a new tag row takes into 現品票発行区分: "3" when the routing's
// 現品票出力区分 is "0" or "2", "1" for any other value, "0" without a routing row.
QString tagClassOf(const std::optional<RoutingTags>& routing);

}  // namespace store
