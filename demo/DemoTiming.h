#pragma once

namespace kv
{

// Where make-demo spends its time: with KVELTA_DEMO_TIMING set in the
// environment, each mark prints to standard error the wall and processor
// time since the previous mark and the peak resident memory so far.
class DemoTiming
{
public:
    static void mark(const char* phase);
};

} // namespace kv
