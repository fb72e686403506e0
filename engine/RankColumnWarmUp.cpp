#include "engine/RankColumnWarmUp.h"

#include "engine/Database.h"
#include "engine/RankColumn.h"
#include "engine/RankColumnCache.h"

#include <QThread>

namespace kv::engine
{

RankColumnWarmUp::RankColumnWarmUp(const QString& dbPath, const QString& table,
                                   const QStringList& fields)
{
    m_thread.reset(QThread::create([this, dbPath, table, fields] {
        try {
            Database db(dbPath);
            db.setStopFlag(&m_stop);
            for (const QString& field : fields) {
                if (m_stop || !db.hasRank(table, field))
                    continue;
                const RankColumnCache cache(dbPath, table.toLower(), field.toLower());
                if (cache.holds(db.rankedRows(table)))
                    continue;
                const RankColumn column(db, table.toLower(), field.toLower());
                if (!m_stop)
                    cache.store(column);
            }
        } catch (...) {
            // Stopped, or the file went away: the sort reads the column itself.
        }
    }));
    // Only a core nothing else wants: the user's own work comes first.
    m_thread->start(QThread::IdlePriority);
}

RankColumnWarmUp::~RankColumnWarmUp()
{
    m_stop = true;
    m_thread->wait();
}

void RankColumnWarmUp::wait()
{
    m_thread->wait();
}

} // namespace kv::engine
