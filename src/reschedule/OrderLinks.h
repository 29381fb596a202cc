#pragma once
// Order number → the records linked to it (several per order), in one flat
// table: a look-up reads one run of neighbouring slots instead of following
// a bucket's list, which the conflict check does for every bar of a chain.

#include <cstddef>
#include <climits>
#include <cstdint>
#include <vector>

namespace reschedule {

class OrderLinks {
public:
    void clear()
    {
        slots_.clear();
        used_ = filled_ = 0;
    }
    void reserve(std::size_t links)
    {
        if (links * 4 > slots_.size() * 3) rehash(links);
    }

    void insert(std::int64_t order, int record)
    {
        if ((filled_ + 1) * 4 > slots_.size() * 3) rehash(used_ + 1);
        std::size_t k = home(order);
        while (slots_[k].order != kEmpty && slots_[k].order != kGone) k = (k + 1) & mask();
        if (slots_[k].order == kEmpty) ++filled_;
        slots_[k] = Slot{order, record};
        ++used_;
    }

    // Takes out one link of the order to the record (if there is one).
    void erase(std::int64_t order, int record)
    {
        if (slots_.empty()) return;
        for (std::size_t k = home(order); slots_[k].order != kEmpty; k = (k + 1) & mask())
            if (slots_[k].order == order && slots_[k].record == record) {
                slots_[k].order = kGone;  // keeps the run unbroken for the links after it
                --used_;
                return;
            }
    }

    // Calls f(record) for every record linked to the order.
    template <typename F>
    void forEach(std::int64_t order, F&& f) const
    {
        if (slots_.empty()) return;
        for (std::size_t k = home(order); slots_[k].order != kEmpty; k = (k + 1) & mask())
            if (slots_[k].order == order) f(slots_[k].record);
    }

private:
    // No order is numbered either of these.
    static constexpr std::int64_t kEmpty = INT64_MIN;
    static constexpr std::int64_t kGone = INT64_MIN + 1;
    struct Slot {
        std::int64_t order = kEmpty;
        int record = 0;
    };

    std::size_t mask() const { return slots_.size() - 1; }
    std::size_t home(std::int64_t order) const
    {
        return std::size_t((std::uint64_t(order) * 0x9E3779B97F4A7C15ull) >> shift_) & mask();
    }

    // Two slots per link after a rehash, another one at three quarters full: runs stay short.
    void rehash(std::size_t links)
    {
        std::size_t size = 16;
        int bits = 4;
        while (size < links * 2) {
            size *= 2;
            ++bits;
        }
        std::vector<Slot> old(size);
        old.swap(slots_);
        shift_ = 64 - bits;
        used_ = filled_ = 0;
        for (const Slot& s : old)
            if (s.order != kEmpty && s.order != kGone) insert(s.order, s.record);
    }

    std::vector<Slot> slots_;
    std::size_t used_ = 0;    // links held
    std::size_t filled_ = 0;  // slots not empty (links and taken-out links)
    int shift_ = 60;
};

}  // namespace reschedule
