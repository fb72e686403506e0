#pragma once

#include "demo/DemoRandom.h"

namespace kv
{

// Ascending, unique company numbers from 100000 upward with gaps, always
// including 200219 (the firm the program shows right after start-up).
class PenoSequence
{
public:
    static constexpr int kStart = 100000;
    static constexpr int kShown = 200219;

    PenoSequence(int count, DemoRandom& rng);
    // The next number; valid for exactly `count` calls.
    int next();

private:
    DemoRandom& m_rng;
    int m_below;     // numbers still to be drawn below kShown
    int m_candidate; // next candidate below kShown
    int m_last = 0;
};

} // namespace kv
