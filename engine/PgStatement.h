#pragma once

#include "engine/PgResult.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <vector>

namespace kv::engine
{

class PgConnection;

// One prepared PostgreSQL statement (RAII: deallocated with the object).
// Parameters $1, $2 ... are 1-based and keep their values between runs, so
// a loop binds only what changes. Values go to the server apart from the
// statement text: no quoting, no escaping, any text arrives as it was.
class PgStatement
{
public:
    PgStatement(PgConnection& connection, const QString& sql);
    ~PgStatement();
    PgStatement(const PgStatement&) = delete;
    PgStatement& operator=(const PgStatement&) = delete;

    int parameterCount() const { return int(m_values.size()); }
    // The statement's columns (names and types, no rows), known before a run.
    const PgResult& description() const { return m_described; }
    void bind(int index, qint64 value);
    void bind(int index, int value) { bind(index, qint64(value)); }
    void bind(int index, const QString& value);
    void bind(int index, const char* value) { bind(index, QString::fromUtf8(value)); }
    void bind(int index, const QVariant& value); // null, integer or text
    void bindNull(int index);
    // The values bound to other, the same statement prepared before (on a
    // connection that was lost): a statement prepared again runs as it would have.
    void bindAs(const PgStatement& other);

    // Runs with the bound values; throws Error::engine when the server rejects it.
    PgResult run();

private:
    void set(int index, QByteArray bytes, bool null);
    PgConnection& m_connection;
    QByteArray m_name;
    PgResult m_described;
    std::vector<QByteArray> m_values;
    std::vector<bool> m_nulls;
};

} // namespace kv::engine
