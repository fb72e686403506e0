#include "engine/ReadTransaction.h"

#include "engine/Database.h"

#include <sqlite3.h>

namespace kv::engine
{

ReadTransaction::ReadTransaction(const Database& db) : m_db(db)
{
    if (m_db.handle() && sqlite3_get_autocommit(m_db.handle()))
        m_began = sqlite3_exec(m_db.handle(), "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
}

ReadTransaction::~ReadTransaction()
{
    // Nothing was written through it; ending it cannot lose anything.
    if (m_began && m_db.handle() && !sqlite3_get_autocommit(m_db.handle()))
        sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace kv::engine
