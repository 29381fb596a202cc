// a × b ÷ c beyond 64-bit products, against exact references.

#include "core/MulDiv.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <random>

namespace {

constexpr std::int64_t Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t Min = std::numeric_limits<std::int64_t>::min();

struct Case {
    std::int64_t a, b, c, quotient, rest;
};

}  // namespace

TEST(MulDiv, ProductsBeyondSixtyFourBitsAgainstExactReferences)
{
    // Quotients and remainders worked out with exact integers.
    const Case cases[] = {
        {Max, 2, 3, 6148914691236517204, 2},
        {Max, Max, Max - 1, Min, 1},  // 2^63 + 0: one past the largest, modulo 2^64
        {Min, Min, Max, -Max, 1},     // 2^63 + 1 → −(2^63 − 1) modulo 2^64
        {Max, Max, 4611686018427387905, -8, 9},  // 2^64 − 8
        {Min, Max, -3, 3074457345618258602, -2},
        {3037000500, 3037000500, 7, 1317624576714321428, 4},  // just above 2^63
        {1234567890123456789, 987654321987654321, 1000000007, 7094756074122283480, 270238877},
        {Max, 3, -1, -9223372036854775805, 0},
        {-7, 3, 2, -10, -1},  // truncated toward zero, the remainder takes the product's sign
        {Max, 1, Max, 1, 0},
    };
    for (const Case& k : cases) {
        const core::MulDivResult r = core::mulDiv(k.a, k.b, k.c);
        EXPECT_EQ(r.quotient, k.quotient) << k.a << " × " << k.b << " ÷ " << k.c;
        EXPECT_EQ(r.rest, k.rest) << k.a << " × " << k.b << " ÷ " << k.c;
    }
}

// Products below 2^64 and divisors that are powers of two are exact in an
// 80-bit long double; the wide path is taken whenever the product passes 2^63.
TEST(MulDiv, RandomProductsAgainstLongDouble)
{
    if (std::numeric_limits<long double>::digits < 64) GTEST_SKIP() << "long double cannot hold 64-bit products";
    std::mt19937_64 rng(7);
    int wide = 0;
    for (int n = 0; n < 20000; ++n) {
        const std::int64_t a = std::int64_t(rng() >> (1 + rng() % 62)) * (rng() % 2 ? 1 : -1);
        const std::uint64_t bound = a == 0 ? 1000 : std::numeric_limits<std::uint64_t>::max() / std::uint64_t(std::abs(a));
        const std::int64_t b = std::int64_t(rng() % std::min<std::uint64_t>(bound, std::uint64_t(Max))) * (rng() % 2 ? 1 : -1);
        const std::int64_t c = (std::int64_t(1) << (rng() % 63)) * (rng() % 2 ? 1 : -1);
        const long double product = static_cast<long double>(a) * static_cast<long double>(b);
        const long double quotient = std::trunc(product / static_cast<long double>(c));
        if (std::fabs(quotient) > static_cast<long double>(Max)) continue;
        if (std::fabs(product) > static_cast<long double>(Max)) ++wide;
        const core::MulDivResult r = core::mulDiv(a, b, c);
        ASSERT_EQ(r.quotient, static_cast<std::int64_t>(quotient)) << a << " × " << b << " ÷ " << c;
        ASSERT_EQ(static_cast<long double>(r.rest), product - quotient * static_cast<long double>(c)) << a << " × " << b << " ÷ " << c;
    }
    EXPECT_GT(wide, 1000);
}
