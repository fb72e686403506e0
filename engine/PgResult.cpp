#include "engine/PgResult.h"

#include "core/Error.h"

#include <libpq-fe.h>
#include <utility>

namespace kv::engine
{

PgResult::~PgResult()
{
    PQclear(m_result);
}

PgResult::PgResult(PgResult&& other) noexcept : m_result(std::exchange(other.m_result, nullptr)) {}

PgResult& PgResult::operator=(PgResult&& other) noexcept
{
    if (this != &other) {
        PQclear(m_result);
        m_result = std::exchange(other.m_result, nullptr);
    }
    return *this;
}

int PgResult::rows() const
{
    return m_result ? PQntuples(m_result) : 0;
}

int PgResult::columns() const
{
    return m_result ? PQnfields(m_result) : 0;
}

QString PgResult::columnName(int column) const
{
    if (column < 0 || column >= columns())
        throw Error::engine(QStringLiteral("no column %1 in a PostgreSQL result").arg(column));
    return QString::fromUtf8(PQfname(m_result, column));
}

void PgResult::checkCell(int row, int column) const
{
    if (row < 0 || column < 0 || column >= columns() || row >= rows())
        throw Error::engine(QStringLiteral("no value at row %1, column %2 of a PostgreSQL result")
                                .arg(row)
                                .arg(column));
}

bool PgResult::isNull(int row, int column) const
{
    checkCell(row, column);
    return PQgetisnull(m_result, row, column) != 0;
}

QString PgResult::text(int row, int column) const
{
    checkCell(row, column);
    return QString::fromUtf8(PQgetvalue(m_result, row, column), PQgetlength(m_result, row, column));
}

qint64 PgResult::int64(int row, int column) const
{
    bool ok = false;
    const qint64 value =
        isNull(row, column) ? 0 : QByteArray(PQgetvalue(m_result, row, column)).toLongLong(&ok);
    if (!ok)
        throw Error::engine(QStringLiteral("column %1 of a PostgreSQL result is not a whole number")
                                .arg(columnName(column)));
    return value;
}

qint64 PgResult::affected() const
{
    return m_result ? QByteArray(PQcmdTuples(m_result)).toLongLong() : 0;
}

QString PgResult::sqlState() const
{
    const char* state = m_result ? PQresultErrorField(m_result, PG_DIAG_SQLSTATE) : nullptr;
    return state ? QString::fromLatin1(state) : QString();
}

} // namespace kv::engine
