#pragma once

// Reads rank columns of a table on a connection and a thread of their own,
// at idle priority, and keeps their copies in the cache folder
// (RankColumnCache): on a new state of a large file the first sort by a
// column would otherwise read it from the rank index while the user waits
// (about 0.45 s for 3,000,000 firms). A column whose copy for this state
// is there at full length is left alone, judged by the copy's header, so
// that an unchanged file costs each start no more than a look at it. Nothing is shared with other
// connections but the copies, which are written whole or not at all.

#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

class QThread;

namespace kv::engine
{

class RankColumnWarmUp
{
public:
    // dbPath: a database file, opened read-only; fields without ranks are
    // skipped.
    RankColumnWarmUp(const QString& dbPath, const QString& table, const QStringList& fields);
    // Stops the reading at once and waits for the thread.
    ~RankColumnWarmUp();
    RankColumnWarmUp(const RankColumnWarmUp&) = delete;
    RankColumnWarmUp& operator=(const RankColumnWarmUp&) = delete;

    // Waits until every column is read and kept (or failed).
    void wait();

private:
    std::atomic<bool> m_stop{false};
    std::unique_ptr<QThread> m_thread;
};

} // namespace kv::engine
