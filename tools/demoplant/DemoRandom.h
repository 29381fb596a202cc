#pragma once
// splitmix64: tiny, fast and specified bit for bit, so a seed gives the same
// plant with every compiler and standard library (std distributions do not).

#include <cstdint>
#include <vector>

namespace demoplant {

class DemoRandom {
public:
    explicit DemoRandom(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < n (n > 0); the modulo bias is irrelevant for demo data.
    int below(int n) { return n <= 1 ? 0 : int(next() % std::uint64_t(n)); }
    // lo <= result <= hi
    int between(int lo, int hi) { return hi <= lo ? lo : lo + below(hi - lo + 1); }
    // [0, 1) with 53 bits
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return unit() < p; }
    template <class T>
    const T& pick(const std::vector<T>& v) { return v[std::size_t(below(int(v.size())))]; }

private:
    std::uint64_t state_;
};

}  // namespace demoplant
