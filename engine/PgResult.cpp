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

QVariant PgResult::value(int row, int column) const
{
    // Type numbers of pg_type, fixed since PostgreSQL 7.
    constexpr unsigned Bool = 16, Bytea = 17, Int8 = 20, Int2 = 21, Int4 = 23, Oid = 26,
                       Float4 = 700, Float8 = 701, Numeric = 1700;
    if (isNull(row, column))
        return QVariant();
    const char* raw = PQgetvalue(m_result, row, column);
    switch (PQftype(m_result, column)) {
    case Int8:
    case Int2:
    case Int4:
    case Oid:
        return QVariant(qlonglong(QByteArray(raw).toLongLong()));
    case Bool:
        return QVariant(qlonglong(raw[0] == 't' ? 1 : 0));
    case Float4:
    case Float8:
        return QVariant(QByteArray(raw).toDouble());
    case Numeric: {
        const QByteArray digits(raw);
        bool whole = false;
        const qlonglong n = digits.toLongLong(&whole);
        return whole ? QVariant(n) : QVariant(digits.toDouble());
    }
    case Bytea: {
        size_t length = 0;
        unsigned char* bytes =
            PQunescapeBytea(reinterpret_cast<const unsigned char*>(raw), &length);
        if (!bytes)
            throw Error::engine(QStringLiteral("PostgreSQL: out of memory"));
        QByteArray out(reinterpret_cast<const char*>(bytes), qsizetype(length));
        PQfreemem(bytes);
        return QVariant(out);
    }
    default:
        return QVariant(text(row, column));
    }
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
