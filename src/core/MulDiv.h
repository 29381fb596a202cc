#pragma once
// a × b ÷ c in 64-bit integers without losing the product in between: the
// quantities the rules scale (by cavities, by a new order quantity) can be
// anything the database holds.

#include <cstdint>

namespace core {

struct MulDivResult {
    // The exact quotient truncated toward zero; when it does not fit 64 bits,
    // its value modulo 2^64 (what a wider integer cut to 64 bits gives).
    std::int64_t quotient = 0;
    // The exact remainder: a × b − quotient × c, with the sign of a × b.
    std::int64_t rest = 0;
};

// For c ≠ 0.
MulDivResult mulDiv(std::int64_t a, std::int64_t b, std::int64_t c);

}  // namespace core
