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
    // Nor while another statement is in flight (see ~PgStatement).
    if (m_open && PQstatus(m_connection.handle()) == CONNECTION_OK &&
        PQtransactionStatus(m_connection.handle()) != PQTRANS_ACTIVE)
        PQclear(PQexec(m_connection.handle(), "ROLLBACK"));
}

void PgTransaction::commit()
{
    m_open = false;
    m_connection.exec(QStringLiteral("COMMIT"));
}

} // namespace kv::engine
