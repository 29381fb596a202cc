#include "core/CodeIndex.h"

namespace core {

void CodeIndex::clear()
{
    slots_.clear();
    entries_.clear();
}

void CodeIndex::place(Slot slot)
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t s = slot.hash & mask;
    while (slots_[s].entry != 0) s = (s + 1) & mask;
    slots_[s] = slot;
}

void CodeIndex::grow()
{
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    for (const Slot& s : old)
        if (s.entry != 0) place(s);
}

void CodeIndex::insert(QStringView code, int row)
{
    code = trimmedView(code);
    if (find(code) != 0) return;  // first row wins
    if ((entries_.size() + 1) * 2 > slots_.size()) grow();
    entries_.push_back({code.toString(), row});
    const QString& kept = entries_.back().code;
    place(Slot{hashOf(code), int(entries_.size()), kept.constData(), kept.size(), row});
}

}  // namespace core
