#include "core/CodeIndex.h"

namespace core {

void CodeIndex::clear()
{
    slots_.clear();
    entries_.clear();
}

void CodeIndex::place(std::uint32_t hash, int entry)
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t s = hash & mask;
    while (slots_[s].entry != 0) s = (s + 1) & mask;
    slots_[s] = {hash, entry};
}

void CodeIndex::grow()
{
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    for (const Slot& s : old)
        if (s.entry != 0) place(s.hash, s.entry);
}

void CodeIndex::insert(QStringView code, int row)
{
    code = trimmedView(code);
    if (find(code) != 0) return;  // first row wins
    if ((entries_.size() + 1) * 2 > slots_.size()) grow();
    entries_.push_back({code.toString(), row});
    place(hashOf(code), int(entries_.size()));
}

}  // namespace core
