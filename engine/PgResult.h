#pragma once

#include <QString>
#include <QVariant>

struct pg_result;

namespace kv::engine
{

// The rows one PostgreSQL command returned (RAII over PGresult; movable).
// Rows and columns are 0-based; values arrive as text.
class PgResult
{
public:
    PgResult() = default;
    explicit PgResult(pg_result* result) : m_result(result) {}
    ~PgResult();
    PgResult(PgResult&& other) noexcept;
    PgResult& operator=(PgResult&& other) noexcept;
    PgResult(const PgResult&) = delete;
    PgResult& operator=(const PgResult&) = delete;

    int rows() const;
    int columns() const;
    QString columnName(int column) const;
    bool isNull(int row, int column) const;
    QString text(int row, int column) const;
    // Throws Error::engine when the value is null or not a whole number.
    qint64 int64(int row, int column) const;
    // The value typed as SQLite's reader gives it: whole numbers (also
    // booleans) as qlonglong, floating and decimal fractions as double, bytea
    // as QByteArray, null as an invalid QVariant, anything else as text.
    QVariant value(int row, int column) const;
    // Rows a command changed or copied ("INSERT 0 5" -> 5).
    qint64 affected() const;
    // The five-character SQLSTATE of an error, else empty.
    QString sqlState() const;

    pg_result* handle() const { return m_result; }

private:
    void checkCell(int row, int column) const;
    pg_result* m_result = nullptr;
};

} // namespace kv::engine
