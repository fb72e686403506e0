#include "engine/PgStatement.h"

#include "core/Error.h"
#include "engine/PgConnection.h"

#include <atomic>
#include <libpq-fe.h>

namespace kv::engine
{

namespace
{

QByteArray nextName()
{
    static std::atomic<quint64> counter{0};
    return "kv_stmt_" + QByteArray::number(++counter);
}

} // namespace

PgStatement::PgStatement(PgConnection& connection, const QString& sql)
    : m_connection(connection), m_name(nextName())
{
    const QByteArray text = sql.toUtf8();
    const PgResult prepared = connection.submit([&](pg_conn* c) {
        return PQsendPrepare(c, m_name.constData(), text.constData(), 0, nullptr);
    });
    connection.check(prepared, QStringLiteral("rejected a statement"));
    m_described = connection.submit(
        [&](pg_conn* c) { return PQsendDescribePrepared(c, m_name.constData()); });
    connection.check(m_described, QStringLiteral("cannot describe a statement"));
    const int count = PQnparams(m_described.handle());
    m_values.resize(size_t(count));
    m_nulls.assign(size_t(count), true);
}

PgStatement::~PgStatement()
{
    // No throwing here; a lost connection took the statement with it. While
    // another statement is in flight (ended from an event during its wait)
    // the name stays: PQexec would swallow that statement's result.
    const PGTransactionStatusType state = PQtransactionStatus(m_connection.handle());
    if (PQstatus(m_connection.handle()) == CONNECTION_OK && state != PQTRANS_INERROR &&
        state != PQTRANS_ACTIVE)
        PQclear(PQexec(m_connection.handle(), ("DEALLOCATE " + m_name).constData()));
}

void PgStatement::set(int index, QByteArray bytes, bool null)
{
    if (index < 1 || index > parameterCount())
        throw Error::engine(QStringLiteral("a statement with %1 parameters has no parameter $%2")
                                .arg(parameterCount())
                                .arg(index));
    m_values[size_t(index - 1)] = std::move(bytes);
    m_nulls[size_t(index - 1)] = null;
}

void PgStatement::bind(int index, qint64 value)
{
    set(index, QByteArray::number(value), false);
}

void PgStatement::bind(int index, const QString& value)
{
    set(index, value.toUtf8(), false);
}

void PgStatement::bind(int index, const QVariant& value)
{
    if (value.isNull())
        bindNull(index);
    else if (value.typeId() == QMetaType::QString)
        bind(index, value.toString());
    else
        set(index, value.toString().toUtf8(), false);
}

void PgStatement::bindNull(int index)
{
    set(index, QByteArray(), true);
}

void PgStatement::bindAs(const PgStatement& other)
{
    if (other.parameterCount() != parameterCount())
        throw Error::engine(QStringLiteral("a statement prepared again has %1 parameters, not %2")
                                .arg(parameterCount())
                                .arg(other.parameterCount()));
    m_values = other.m_values;
    m_nulls = other.m_nulls;
}

PgResult PgStatement::run()
{
    std::vector<const char*> values;
    std::vector<int> lengths;
    for (size_t i = 0; i < m_values.size(); ++i) {
        values.push_back(m_nulls[i] ? nullptr : m_values[i].constData());
        lengths.push_back(int(m_values[i].size()));
    }
    PgResult result = m_connection.submit([&](pg_conn* c) {
        return PQsendQueryPrepared(c, m_name.constData(), int(values.size()), values.data(),
                                   lengths.data(), nullptr, 0);
    });
    m_connection.check(result, QStringLiteral("rejected a statement"));
    return result;
}

} // namespace kv::engine
