#include "demo/DemoRandom.h"

namespace kv
{

namespace
{

std::uint64_t splitmix64(std::uint64_t& x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t rotl(std::uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}

} // namespace

DemoRandom::DemoRandom(std::uint64_t seed)
{
    for (auto& s : m_s)
        s = splitmix64(seed);
}

std::uint64_t DemoRandom::next()
{
    const std::uint64_t result = rotl(m_s[1] * 5, 7) * 9;
    const std::uint64_t t = m_s[1] << 17;
    m_s[2] ^= m_s[0];
    m_s[3] ^= m_s[1];
    m_s[1] ^= m_s[2];
    m_s[0] ^= m_s[3];
    m_s[2] ^= t;
    m_s[3] = rotl(m_s[3], 45);
    return result;
}

std::uint64_t DemoRandom::below(std::uint64_t n)
{
    if (n == 0)
        return 0;
    // Multiply-shift: the bias is at most n / 2^64, far below anything a
    // demo data set could show.
    return static_cast<std::uint64_t>((static_cast<unsigned __int128>(next()) * n) >> 64);
}

int DemoRandom::range(int lo, int hi)
{
    return lo + static_cast<int>(below(static_cast<std::uint64_t>(hi - lo + 1)));
}

bool DemoRandom::chance(int perMille)
{
    return static_cast<int>(below(1000)) < perMille;
}

} // namespace kv
