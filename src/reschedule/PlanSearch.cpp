#include "reschedule/PlanSearch.h"

#include "core/SearchText.h"

namespace reschedule {

namespace {
constexpr char16_t kSeparator = 0x1F;  // between the fields: no needle reaches across it

// The same text, seen without comparing characters when the record still shares it.
bool same(const QString& a, const QString& b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}
}  // namespace

QString PlanSearchIndex::needleOf(const QString& typed)
{
    QString n = core::foldForSearch(typed.trimmed());
    n.remove(QChar(kSeparator));
    return n;
}

bool PlanSearchIndex::isSearchable(int recordNo) const
{
    if (recordNo < 2 || recordNo > plan_.size()) return false;
    const plan::PlanRecord& r = plan_[recordNo];
    return !r.isMergedAway && !r.isDeleted;
}

const QString& PlanSearchIndex::foldedText(int recordNo)
{
    if (entries_.size() <= std::size_t(recordNo)) entries_.resize(std::size_t(plan_.size()) + 1);
    Entry& e = entries_[std::size_t(recordNo)];
    const plan::PlanRecord& r = plan_[recordNo];
    const std::size_t members = r.membersA.size() + r.membersB.size();
    if (e.built && e.orderNo == r.orderNo && e.members == members && same(e.itemCode, r.itemCode)
        && same(e.itemCode2, r.itemCode2) && same(e.modelName, r.modelName))
        return e.folded;
    e.orderNo = r.orderNo;
    e.members = members;
    e.itemCode = r.itemCode;
    e.itemCode2 = r.itemCode2;
    e.modelName = r.modelName;
    QString text = QString::number(r.orderNo);
    // Every order a merged bar holds can be searched for.
    for (const plan::MemberSlots* group : {&r.membersA, &r.membersB})
        for (const plan::MemberOrder& m : *group)
            if (m.orderNo != 0 && m.orderNo != r.orderNo) text += kSeparator + QString::number(m.orderNo);
    text += kSeparator + r.itemCode;
    if (r.itemCode2 != r.itemCode) text += kSeparator + r.itemCode2;
    text += kSeparator + r.modelName;
    e.folded = core::foldForSearch(text);
    e.built = true;
    return e.folded;
}

bool PlanSearchIndex::matches(int recordNo, const QString& needle)
{
    if (needle.isEmpty()) return true;
    if (recordNo < 2 || recordNo > plan_.size()) return false;
    return foldedText(recordNo).contains(needle);
}

int PlanSearchIndex::findNext(const QString& needle, int from, bool backwards)
{
    if (needle.isEmpty()) return 0;
    const int first = 2, last = plan_.size();
    const int count = last - first + 1;
    if (count <= 0) return 0;
    const int start = from >= first && from <= last ? from : (backwards ? first : last);
    for (int step = 1; step <= count; ++step) {
        const int offset = ((start - first) + (backwards ? -step : step)) % count;
        const int rec = first + (offset + count) % count;
        if (isSearchable(rec) && matches(rec, needle)) return rec;
    }
    return 0;
}

}  // namespace reschedule
