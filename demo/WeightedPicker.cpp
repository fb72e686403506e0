#include "demo/WeightedPicker.h"

#include <algorithm>

namespace kv
{

void WeightedPicker::add(std::uint64_t weight)
{
    m_cumulative.push_back((m_cumulative.empty() ? 0 : m_cumulative.back()) + weight);
}

int WeightedPicker::pick(DemoRandom& rng) const
{
    if (m_cumulative.empty() || m_cumulative.back() == 0)
        return -1;
    const std::uint64_t r = rng.below(m_cumulative.back());
    const auto it = std::upper_bound(m_cumulative.begin(), m_cumulative.end(), r);
    return static_cast<int>(it - m_cumulative.begin());
}

} // namespace kv
