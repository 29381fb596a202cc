#include "core/MulDiv.h"

#include <cassert>
#include <limits>

namespace core {

namespace {

std::uint64_t magnitude(std::int64_t v) { return v < 0 ? 0 - std::uint64_t(v) : std::uint64_t(v); }

struct Wide {
    std::uint64_t hi, lo;
};

// x × y in full, from 32-bit halves.
Wide multiply(std::uint64_t x, std::uint64_t y)
{
    constexpr std::uint64_t Low = 0xFFFF'FFFF;
    const std::uint64_t xl = x & Low, xh = x >> 32, yl = y & Low, yh = y >> 32;
    const std::uint64_t ll = xl * yl, lh = xl * yh, hl = xh * yl, hh = xh * yh;
    const std::uint64_t mid = (ll >> 32) + (lh & Low) + (hl & Low);  // below 3 × 2^32
    return {hh + (lh >> 32) + (hl >> 32) + (mid >> 32), (mid << 32) | (ll & Low)};
}

// n ÷ d: the low 64 bits of the quotient and the remainder. The high word is
// divided first; the low word follows one bit at a time (schoolbook division).
void divide(Wide n, std::uint64_t d, std::uint64_t& quotientLow, std::uint64_t& rest)
{
    std::uint64_t r = n.hi % d, q = 0;
    for (int bit = 63; bit >= 0; --bit) {
        const bool carry = (r >> 63) != 0;  // r × 2 would need a 65th bit
        r = (r << 1) | ((n.lo >> bit) & 1);
        q <<= 1;
        if (carry || r >= d) {
            r -= d;  // exact modulo 2^64: the true value is below d
            q |= 1;
        }
    }
    quotientLow = q;
    rest = r;
}

}  // namespace

MulDivResult mulDiv(std::int64_t a, std::int64_t b, std::int64_t c)
{
    assert(c != 0);
    const std::uint64_t x = magnitude(a), y = magnitude(b), d = magnitude(c);
    constexpr std::uint64_t Max = std::numeric_limits<std::int64_t>::max();
    if (y == 0 || x <= Max / y) {  // the product fits: plain arithmetic
        const std::int64_t product = a * b;
        return {product / c, product % c};
    }
    std::uint64_t q = 0, r = 0;
    divide(multiply(x, y), d, q, r);
    const bool productNegative = (a < 0) != (b < 0);
    const bool quotientNegative = productNegative != (c < 0);
    // Conversions to int64 are modulo 2^64; r < d <= 2^63, so −r fits.
    return {std::int64_t(quotientNegative ? 0 - q : q), productNegative ? -std::int64_t(r) : std::int64_t(r)};
}

}  // namespace core
