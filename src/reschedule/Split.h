#pragma once
// Splitting a bar by lots: the planner says, lot by lot, how many pieces move
// to a new bar; the bar keeps the rest.
//
// A lot line whose count takes the member's whole quantity moves that member
// order itself, with its own number, to the new bar: its customer-order links,
// tags and components stay with it, and nothing is deleted. Every other count
// gives the new bar a member with a temporary negative order number, which
// the save turns into a new work order copied from the member it came from.

#include "reschedule/RuleContext.h"
#include "reschedule/RuleOutcome.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace reschedule {

// One member order of the bar as a lot line of the split window.
struct LotLine {
    int slot = 0;               // member slot (from 0) in its group
    std::int64_t planNo = 0;    // 生産計画番号 of the lot
    QString names;              // process and model name
    std::int64_t quantity = 0;  // what the lot still has to make: 手配数 − 受入実績数
    std::int64_t count = 0;     // pieces to move to the new bar
};

struct SplitLots {
    std::vector<LotLine> inner;  // member group A (内輪)
    std::vector<LotLine> outer;  // member group B (外輪)

    std::int64_t innerTotal() const;
    std::int64_t outerTotal() const;
};

// The lot lines of a record: one per member with an order number, in slot order.
SplitLots splitLotsOf(const plan::PlanRecord& r);

// The count given for a lot: every line of both lists with that production
// plan number takes it (the inner and the outer ring of a lot go together).
// Negative counts count as 0.
void setLotCount(SplitLots& lots, std::int64_t planNo, std::int64_t count);

// The text of a lot line: the plan number in a 9-character field, the names,
// the count right-justified in 9 characters after a blank, "/", the quantity
// left-justified in 9 characters.
QString lotLineText(const LotLine& line);
// The plan number and the count read back from a line's text.
std::int64_t planNoOfLineText(const QString& text);
std::int64_t countOfLineText(const QString& text);

// Checks 1 to 7 of "分割実施", in order; the first failing one's message, or
// nullopt when the split may be asked for.
std::optional<QString> checkSplit(const SplitLots& lots);

// The split of record `recordNo` as the lots say (checked and confirmed):
// a new record on the source's row right after it, both records' quantities,
// work minutes, times and components recomputed, both marked changed. The
// bars behind the new one are pushed when the planner agrees. Run it as one step.
RuleOutcome splitOrder(RuleContext& ctx, int recordNo, const SplitLots& lots);

// The next temporary order number of the run: −1, −2, … never repeated.
std::int64_t takeTemporaryOrderNo();

// The stored order whose rows stand for a record: its own order number, or for
// a record first carrying a split member's temporary number, the order that
// member came from.
std::int64_t masterOrderNo(const plan::PlanRecord& r);

}  // namespace reschedule
