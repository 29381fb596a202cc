#pragma once
// A sequence that grows in fixed chunks: an element, once appended, stays
// where it is until it is removed (no reallocation moves or copies the table,
// and no old and new block are alive together while it grows), and indexing
// is a shift, a mask and two loads, cheap enough for the loops that walk
// hundreds of records per action.

#include <cstddef>
#include <stdexcept>
#include <utility>
#include <vector>

namespace plan {

template <typename T, unsigned Shift = 8>
class ChunkedVector {
public:
    static constexpr std::size_t kChunk = std::size_t(1) << Shift;

    ChunkedVector() = default;
    ChunkedVector(const ChunkedVector& other) { append(other); }
    ChunkedVector(ChunkedVector&&) noexcept = default;
    ChunkedVector& operator=(const ChunkedVector& other)
    {
        if (this != &other) {
            clear();
            append(other);
        }
        return *this;
    }
    ChunkedVector& operator=(ChunkedVector&&) noexcept = default;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    T& operator[](std::size_t i) { return chunks_[i >> Shift][i & (kChunk - 1)]; }
    const T& operator[](std::size_t i) const { return chunks_[i >> Shift][i & (kChunk - 1)]; }
    T& at(std::size_t i) { return (*this)[checked(i)]; }
    const T& at(std::size_t i) const { return (*this)[checked(i)]; }

    void push_back(T value)
    {
        if ((size_ >> Shift) == chunks_.size()) {
            chunks_.emplace_back();
            chunks_.back().reserve(kChunk);  // filled to kChunk, never beyond: it never reallocates
        }
        chunks_.back().push_back(std::move(value));
        ++size_;
    }
    void pop_back()
    {
        chunks_.back().pop_back();
        if (chunks_.back().empty()) chunks_.pop_back();
        --size_;
    }
    // Shrinks to n elements (never grows).
    void truncate(std::size_t n)
    {
        while (size_ > n) pop_back();
    }
    void clear()
    {
        chunks_.clear();
        size_ = 0;
    }

    template <typename F>
    void forEach(F&& f) const
    {
        for (const auto& chunk : chunks_)
            for (const T& v : chunk) f(v);
    }

    friend bool operator==(const ChunkedVector& a, const ChunkedVector& b) { return a.chunks_ == b.chunks_; }

private:
    std::size_t checked(std::size_t i) const
    {
        if (i >= size_) throw std::out_of_range("ChunkedVector: index out of range");
        return i;
    }
    void append(const ChunkedVector& other)
    {
        other.forEach([&](const T& v) { push_back(v); });
    }

    std::vector<std::vector<T>> chunks_;  // every chunk but the last holds kChunk elements
    std::size_t size_ = 0;
};

}  // namespace plan
