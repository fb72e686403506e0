#pragma once

#include <cstdint>

namespace kv
{

// xoshiro256** seeded through splitmix64. The demo data must come out
// byte-identical for one seed on every platform, so no std:: distribution
// (their algorithms differ between standard libraries) is used anywhere.
class DemoRandom
{
public:
    explicit DemoRandom(std::uint64_t seed);

    std::uint64_t next();
    // Uniform integer in [0, n); n == 0 gives 0.
    std::uint64_t below(std::uint64_t n);
    // Uniform integer in [lo, hi].
    int range(int lo, int hi);
    // True with probability perMille / 1000.
    bool chance(int perMille);

private:
    std::uint64_t m_s[4];
};

} // namespace kv
