#include "engine/PgCopyIn.h"

#include "core/Error.h"
#include "engine/PgConnection.h"

#include <libpq-fe.h>

namespace kv::engine
{

namespace
{

constexpr qsizetype FlushAt = 256 * 1024;

// COPY's text format: backslash, tab, line feed and carriage return escaped.
QByteArray escaped(const QByteArray& utf8)
{
    QByteArray out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

PgCopyIn::PgCopyIn(PgConnection& connection, const QString& table, const QStringList& columns)
    : m_connection(connection), m_table(table), m_columns(int(columns.size()))
{
    QStringList quoted;
    for (const QString& c : columns)
        quoted << connection.identifier(c);
    const PgResult started = connection.tryQuery(
        QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, quoted.join(QStringLiteral(", "))));
    if (!started.handle() || PQresultStatus(started.handle()) != PGRES_COPY_IN)
        connection.check(started, QStringLiteral("refused to copy into %1").arg(table));
    m_open = true;
    m_buffer.reserve(FlushAt + 4096);
}

PgCopyIn::~PgCopyIn()
{
    if (!m_open)
        return;
    pg_conn* conn = m_connection.handle();
    PQputCopyEnd(conn, "cancelled by the program");
    while (PGresult* r = PQgetResult(conn))
        PQclear(r);
}

void PgCopyIn::field(const QByteArray& encoded)
{
    if (m_fields > 0)
        m_buffer += '\t';
    m_buffer += encoded;
    ++m_fields;
}

void PgCopyIn::addNull()
{
    field(QByteArrayLiteral("\\N"));
}

void PgCopyIn::add(qint64 value)
{
    field(QByteArray::number(value));
}

void PgCopyIn::add(double value)
{
    field(QByteArray::number(value, 'g', 17));
}

void PgCopyIn::add(const QString& value)
{
    field(escaped(value.toUtf8()));
}

void PgCopyIn::addBytes(const QByteArray& value)
{
    // bytea's hex form; its backslash is escaped for COPY.
    field("\\\\x" + value.toHex());
}

void PgCopyIn::endRow()
{
    if (m_fields != m_columns)
        throw Error::engine(QStringLiteral("a row for %1 has %2 values, not %3")
                                .arg(m_table)
                                .arg(m_fields)
                                .arg(m_columns));
    m_buffer += '\n';
    m_fields = 0;
    ++m_rows;
    if (m_buffer.size() >= FlushAt)
        flush();
}

void PgCopyIn::flush()
{
    if (m_buffer.isEmpty())
        return;
    if (PQputCopyData(m_connection.handle(), m_buffer.constData(), int(m_buffer.size())) != 1)
        m_connection.check(PgResult(PQgetResult(m_connection.handle())),
                           QStringLiteral("stopped the copy into %1").arg(m_table));
    m_buffer.clear();
}

qint64 PgCopyIn::finish()
{
    if (m_fields != 0)
        throw Error::engine(QStringLiteral("the last row for %1 is not complete").arg(m_table));
    flush();
    pg_conn* conn = m_connection.handle();
    m_open = false;
    if (PQputCopyEnd(conn, nullptr) != 1)
        m_connection.check(PgResult(PQgetResult(conn)),
                           QStringLiteral("did not end the copy into %1").arg(m_table));
    PgResult result(PQgetResult(conn));
    while (PGresult* extra = PQgetResult(conn))
        PQclear(extra);
    m_connection.check(result, QStringLiteral("rejected the rows for %1").arg(m_table));
    return result.affected();
}

} // namespace kv::engine
