#pragma once

#include "demo/DemoRandom.h"

#include <cstdint>
#include <vector>

namespace kv
{

// Picks indexes 0..n-1 with probability proportional to integer weights
// (population, name frequency): cumulative sums and a binary search.
class WeightedPicker
{
public:
    void add(std::uint64_t weight);
    int size() const { return static_cast<int>(m_cumulative.size()); }
    // Index of the picked entry; -1 when the picker is empty or all weights are 0.
    int pick(DemoRandom& rng) const;

private:
    std::vector<std::uint64_t> m_cumulative;
};

} // namespace kv
