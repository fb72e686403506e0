#include "demo/FirmStream.h"

#include "demo/DemoRandom.h"
#include "demo/FirmFactory.h"
#include "demo/PenoSequence.h"

#include <algorithm>

namespace kv
{

namespace
{

// Batches made ahead of the writer: enough to ride over its pauses, few
// enough to keep memory flat.
constexpr std::size_t kAhead = 8;

} // namespace

FirmStream::FirmStream(const CzechData& data, std::uint64_t seed, int firms, int batch)
    : m_firms(firms), m_batch(std::max(1, batch)),
      m_thread([this, &data, seed] { run(data, seed); })
{
}

FirmStream::~FirmStream()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void FirmStream::run(const CzechData& data, std::uint64_t seed)
{
    try {
        DemoRandom rng(seed);
        PenoSequence penos(m_firms, rng);
        FirmFactory factory(data, rng);
        for (int made = 0; made < m_firms;) {
            std::vector<std::vector<DemoFirm>> done;
            {
                const std::lock_guard lock(m_mutex);
                done.swap(m_done);
            }
            done.clear();
            std::vector<DemoFirm> batch;
            const int size = std::min(m_batch, m_firms - made);
            batch.reserve(std::size_t(size));
            for (int i = 0; i < size; ++i, ++made) {
                const int peno = penos.next();
                batch.push_back(factory.make(peno, peno == PenoSequence::kShown));
            }
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_stop || m_ready.size() < kAhead; });
            if (m_stop)
                return;
            m_ready.push_back(std::move(batch));
            m_changed.notify_all();
        }
    } catch (...) {
        const std::lock_guard lock(m_mutex);
        m_failure = std::current_exception();
    }
    const std::lock_guard lock(m_mutex);
    m_finished = true;
    m_changed.notify_all();
}

std::vector<DemoFirm> FirmStream::next(std::vector<DemoFirm> done)
{
    std::unique_lock lock(m_mutex);
    if (!done.empty() && !m_finished)
        m_done.push_back(std::move(done));
    m_changed.wait(lock, [this] { return !m_ready.empty() || m_finished; });
    if (!m_ready.empty()) {
        std::vector<DemoFirm> batch = std::move(m_ready.front());
        m_ready.pop_front();
        m_changed.notify_all();
        return batch;
    }
    if (m_failure)
        std::rethrow_exception(m_failure);
    return {};
}

} // namespace kv
