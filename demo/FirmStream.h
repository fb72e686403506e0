#pragma once

#include "demo/DemoFirm.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace kv
{

class CzechData;

// Makes the firms of one seed on a thread of its own and hands them over in
// batches, in the order they were made: the same firms as one loop of
// PenoSequence and FirmFactory over that seed, while the caller writes the
// previous batches on another core. A few batches wait at most.
class FirmStream
{
public:
    FirmStream(const CzechData& data, std::uint64_t seed, int firms, int batch = 512);
    ~FirmStream();
    FirmStream(const FirmStream&) = delete;
    FirmStream& operator=(const FirmStream&) = delete;

    // The next firms; empty once all were handed out. Rethrows what the
    // making thread threw. The batch given back is freed on the making
    // thread: its strings were allocated there, and freeing them here would
    // take that thread's allocator lock for every one.
    std::vector<DemoFirm> next(std::vector<DemoFirm> done = {});

private:
    void run(const CzechData& data, std::uint64_t seed);

    const int m_firms;
    const int m_batch;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<DemoFirm>> m_ready;
    std::vector<std::vector<DemoFirm>> m_done;
    bool m_finished = false; // all batches made (or the thread failed)
    bool m_stop = false;     // the caller gave up
    std::exception_ptr m_failure;
    std::thread m_thread; // last: starts once the members above exist
};

} // namespace kv
