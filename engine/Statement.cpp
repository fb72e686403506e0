#include "engine/Statement.h"

#include "core/Error.h"
#include "engine/Database.h"
#include "engine/PgStatement.h"
#include "engine/ServerDirectory.h"

#include <sqlite3.h>

namespace kv::engine
{

Statement::Statement(const Database& db, const QString& sql)
{
    if (!db.isServer()) {
        prepare(db.handle(), sql);
        return;
    }
    m_server = db.directory();
    m_sql = sql;
    prepareOnServer();
}

void Statement::prepareOnServer()
{
    try {
        std::shared_ptr<PgConnection> connection = m_server->sharedConnection();
        if (connection == m_connection)
            return;
        auto pg = std::make_unique<PgStatement>(*connection, m_sql);
        if (m_pg)
            pg->bindAs(*m_pg);
        // The old statement ends while its connection still exists.
        m_pg = std::move(pg);
        m_connection = std::move(connection);
    } catch (...) {
        m_server->recover();
        throw;
    }
}

Statement::Statement(sqlite3* db, const QString& sql)
{
    prepare(db, sql);
}

void Statement::prepare(sqlite3* db, const QString& sql)
{
    m_db = db;
    if (!db)
        throw Error::engine(QStringLiteral("database is not open"));
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    check(sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, &tail));
    if (!m_stmt)
        throw Error::engine(QStringLiteral("empty statement"));
    // One statement per object: a second one would silently be ignored.
    if (tail && QByteArray(tail).trimmed().size() > 0) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw Error::engine(QStringLiteral("only one statement may be run at a time"));
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void Statement::check(int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw Error::engine(Database::lastError(m_db));
}

void Statement::failed()
{
    m_server->recover();
    m_ran = false;
    m_result = PgResult();
    m_row = -1;
}

void Statement::bind(int index, qint64 value)
{
    if (m_pg)
        m_pg->bind(index, value);
    else
        check(sqlite3_bind_int64(m_stmt, index, value));
}

void Statement::bind(int index, const QString& value)
{
    if (m_pg) {
        m_pg->bind(index, value);
        return;
    }
    const QByteArray utf8 = value.toUtf8();
    check(sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
}

void Statement::bind(int index, const QByteArray& blob)
{
    if (m_pg)
        throw Error::engine(QStringLiteral("binary values are not sent to the server"));
    check(sqlite3_bind_blob(m_stmt, index, blob.constData(), int(blob.size()), SQLITE_TRANSIENT));
}

void Statement::bind(int index, const QVariant& value)
{
    if (value.isNull()) {
        bindNull(index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        bind(index, value.toLongLong());
        break;
    case QMetaType::Double:
        if (m_pg)
            m_pg->bind(index, QString::number(value.toDouble(), 'g', 17));
        else
            check(sqlite3_bind_double(m_stmt, index, value.toDouble()));
        break;
    case QMetaType::QByteArray:
        bind(index, value.toByteArray());
        break;
    default:
        bind(index, value.toString());
    }
}

void Statement::bindNull(int index)
{
    if (m_pg)
        m_pg->bindNull(index);
    else
        check(sqlite3_bind_null(m_stmt, index));
}

void Statement::bind(const QString& name, const QVariant& value)
{
    if (m_pg)
        throw Error::engine(QStringLiteral("named parameters are SQLite's only: %1").arg(name));
    const int index = sqlite3_bind_parameter_index(m_stmt, name.toUtf8().constData());
    if (index == 0)
        throw Error::engine(QStringLiteral("no parameter %1 in the statement").arg(name));
    bind(index, value);
}

void Statement::clearBindings()
{
    if (!m_pg) {
        sqlite3_clear_bindings(m_stmt);
        return;
    }
    for (int i = 1; i <= m_pg->parameterCount(); ++i)
        m_pg->bindNull(i);
}

bool Statement::step()
{
    if (m_pg) {
        if (!m_ran) {
            try {
                prepareOnServer();
                m_result = m_pg->run();
            } catch (...) {
                failed();
                throw;
            }
            m_ran = true;
            m_row = -1;
        }
        return ++m_row < m_result.rows();
    }
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString reason = Database::lastError(m_db);
    sqlite3_reset(m_stmt);
    throw Error::engine(reason);
}

void Statement::reset()
{
    if (m_pg) {
        m_ran = false;
        m_result = PgResult();
        m_row = -1;
        return;
    }
    sqlite3_reset(m_stmt);
}

int Statement::columnCount() const
{
    return m_pg ? m_pg->description().columns() : sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    if (m_pg)
        return m_pg->description().columnName(column);
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

bool Statement::isNull(int column) const
{
    if (m_pg)
        return !onRow() || m_result.isNull(m_row, column);
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

QString Statement::text(int column) const
{
    if (m_pg)
        return onRow() ? m_result.text(m_row, column) : QString();
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, column)) : QString();
}

qint64 Statement::int64(int column) const
{
    if (m_pg)
        return value(column).toLongLong();
    return sqlite3_column_int64(m_stmt, column);
}

QVariant Statement::value(int column) const
{
    if (m_pg)
        return onRow() ? m_result.value(m_row, column) : QVariant();
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(int64(column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_BLOB: {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
        return QVariant(QByteArray(p, sqlite3_column_bytes(m_stmt, column)));
    }
    case SQLITE_NULL:
        return QVariant();
    default:
        return QVariant(text(column));
    }
}

} // namespace kv::engine
