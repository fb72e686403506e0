#include "engine/PgTransaction.h"

#include "engine/PgConnection.h"

#include <libpq-fe.h>

namespace kv::engine
{

PgTransaction::PgTransaction(PgConnection& connection, const QString& begin)
    : m_connection(connection)
{
    m_connection.exec(begin);
}

PgTransaction::~PgTransaction()
{
    // No throwing from a destructor; a lost connection rolled back already.
    if (m_open && PQstatus(m_connection.handle()) == CONNECTION_OK)
        PQclear(PQexec(m_connection.handle(), "ROLLBACK"));
}

void PgTransaction::commit()
{
    m_open = false;
    m_connection.exec(QStringLiteral("COMMIT"));
}

} // namespace kv::engine
