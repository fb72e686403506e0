#include "engine/Transaction.h"

#include "engine/Database.h"

#include <sqlite3.h>

namespace kv::engine
{

Transaction::Transaction(Database& db) : m_db(db)
{
    m_db.exec(QStringLiteral("BEGIN"));
}

Transaction::~Transaction()
{
    // No throwing from a destructor; a failed rollback leaves nothing to undo.
    if (m_open && m_db.handle())
        sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    m_db.exec(QStringLiteral("COMMIT"));
    m_open = false;
}

} // namespace kv::engine
