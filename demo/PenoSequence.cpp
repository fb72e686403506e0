#include "demo/PenoSequence.h"

#include <algorithm>

namespace kv
{

PenoSequence::PenoSequence(int count, DemoRandom& rng)
    : m_rng(rng), m_below(std::min(count / 2, 50000)), m_candidate(kStart)
{
}

int PenoSequence::next()
{
    // Below 200219: a sorted random sample of the free range (selection
    // sampling), so the numbers keep gaps yet never pass 200219.
    while (m_below > 0) {
        const int remaining = kShown - m_candidate;
        const int c = m_candidate++;
        if (static_cast<int>(m_rng.below(static_cast<std::uint64_t>(remaining))) < m_below) {
            --m_below;
            return m_last = c;
        }
    }
    if (m_last < kShown)
        return m_last = kShown;
    return m_last += 1 + static_cast<int>(m_rng.below(3));
}

} // namespace kv
