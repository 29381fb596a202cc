#pragma once
// Row numbers by trimmed machine or supplier code. Every end-time calculation
// starts with this look-up, so it avoids QHash's seeded string hash and any copy:
// a one-multiply hash of the code's ends into an open-addressing table.

#include <QString>
#include <QStringView>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace core {

class CodeIndex {
public:
    // Keeps the first row given for a code; `code` is trimmed here.
    void insert(QStringView code, int row);
    // Row of the trimmed code; 0 when none.
    int find(QStringView code) const;
    bool contains(QStringView code) const { return find(code) != 0; }
    void clear();

private:
    struct Entry {
        QString code;  // trimmed
        int row = 0;
    };
    // A slot carries what a look-up compares, so a hit reads one cache line.
    struct Slot {
        std::uint32_t hash = 0;
        int entry = 0;  // index into entries_ + 1; 0 = empty
        const QChar* code = nullptr;  // the entry's trimmed code (entries_ keeps it alive)
        qsizetype size = 0;
        int row = 0;
    };
    static std::uint32_t hashOf(QStringView code);
    static QStringView trimmedView(QStringView code);
    void place(Slot slot);
    void grow();

    std::vector<Slot> slots_;  // size a power of two, at most half full
    std::vector<Entry> entries_;
};

// The look-up runs for every end-time calculation: inline.
inline std::uint32_t CodeIndex::hashOf(QStringView code)
{
    // Machine codes are short: the first and last four UTF-16 units and the
    // length, mixed once, tell them apart without a loop.
    const auto n = std::size_t(code.size());
    std::uint64_t head = 0, tail = 0;
    if (n >= 4) {
        std::memcpy(&head, code.data(), 8);
        std::memcpy(&tail, code.data() + (n - 4), 8);
    } else {
        for (std::size_t i = 0; i < n; ++i) head |= std::uint64_t(code[qsizetype(i)].unicode()) << (16 * i);
    }
    std::uint64_t h = (head ^ (tail << 21 | tail >> 43) ^ n) * 0x9E3779B97F4A7C15ull;
    return std::uint32_t(h >> 32);
}

inline QStringView CodeIndex::trimmedView(QStringView code)
{
    // Codes rarely carry blanks; the two end checks spare the general trim.
    if (code.isEmpty() || (!code.front().isSpace() && !code.back().isSpace())) return code;
    return code.trimmed();
}

inline int CodeIndex::find(QStringView code) const
{
    if (slots_.empty()) return 0;
    code = trimmedView(code);
    const std::uint32_t hash = hashOf(code);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t s = hash & mask; slots_[s].entry != 0; s = (s + 1) & mask) {
        const Slot& slot = slots_[s];
        if (slot.hash == hash && slot.size == code.size() && std::equal(code.begin(), code.end(), slot.code)) return slot.row;
    }
    return 0;
}

}  // namespace core
