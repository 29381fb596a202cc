#pragma once
// Finding orders in the plan by what a planner knows of them: the order
// number (of any order the bar holds), the item code or the item name, with
// half-width and full-width forms and upper and lower case alike.
//
// The bar search jumps from match to match; the list search narrows the plan
// grid to the matches. Neither changes the plan.

#include "plan/PlanData.h"

#include <QString>
#include <vector>

namespace reschedule {

class PlanSearchIndex {
public:
    explicit PlanSearchIndex(const plan::PlanData& plan) : plan_(plan) {}

    // The typed search text as matched (folded); blank text finds everything.
    static QString needleOf(const QString& typed);

    // Whether the record's search text contains the needle (needleOf). A
    // record's folded text is kept and built again only when its texts change.
    bool matches(int recordNo, const QString& needle);

    // Records the bar search can go to: not merged away and not deleted.
    bool isSearchable(int recordNo) const;

    // The next searchable match after `from` in table order (before it when
    // backwards), wrapping round the table; `from` itself comes last. 0 when
    // nothing matches or the needle is blank.
    int findNext(const QString& needle, int from, bool backwards);

private:
    struct Entry {
        std::int64_t orderNo = 0;
        std::size_t members = 0;
        QString itemCode, itemCode2, modelName;  // as folded from (shared with the record)
        QString folded;
        bool built = false;
    };
    const QString& foldedText(int recordNo);

    const plan::PlanData& plan_;
    std::vector<Entry> entries_;  // by record number
};

}  // namespace reschedule
