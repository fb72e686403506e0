#include "engine/RowInserter.h"

#include "core/Error.h"
#include "engine/Database.h"
#include "engine/Schema.h"

#include <QStringEncoder>
#include <QStringList>
#include <sqlite3.h>

namespace kv::engine
{

namespace
{

// Imported table names may hold characters SQLite reads as syntax, a double quote too.
QString quotedName(QString name)
{
    return u'"' + name.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

RowInserter::RowInserter(Database& db, const TableInfo& table)
    : RowInserter(db, table.name, int(table.fields.size()))
{
}

RowInserter::RowInserter(Database& db, const QString& table, int fields) : m_db(db.handle())
{
    if (!m_db)
        throw Error::engine(QStringLiteral("database is not open"));
    QStringList marks;
    for (int i = 0; i < fields; ++i)
        marks << QStringLiteral("?");
    const QByteArray sql = QStringLiteral("INSERT INTO %1 VALUES(%2)")
                               .arg(quotedName(table), marks.join(u','))
                               .toUtf8();
    check(sqlite3_prepare_v3(m_db, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT,
                             &m_stmt, nullptr));
    m_text.resize(fields);
}

RowInserter::~RowInserter()
{
    sqlite3_finalize(m_stmt);
}

void RowInserter::check(int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        throw Error::engine(Database::lastError(m_db));
}

RowInserter& RowInserter::add(qint64 value)
{
    check(sqlite3_bind_int64(m_stmt, m_next++, value));
    return *this;
}

RowInserter& RowInserter::add(QStringView value, bool isNull)
{
    if (isNull)
        return addNull();
    if (m_next > m_text.size()) { // one field too many: SQLite says so
        check(sqlite3_bind_text16(m_stmt, m_next++, value.utf16(), int(value.size() * 2),
                                  SQLITE_TRANSIENT));
        return *this;
    }
    // Encoded here into the field's own buffer, which stays until the field
    // is bound again: binding UTF-16 made SQLite copy every text and then
    // convert it byte by byte: a sixth of the writing thread's time in make-demo.
    QByteArray& utf8 = m_text[m_next - 1];
    utf8.resize(value.size() * 3);
    QStringEncoder encoder(QStringEncoder::Utf8);
    char* end = encoder.appendToBuffer(utf8.data(), value);
    check(sqlite3_bind_text(m_stmt, m_next++, utf8.constData(), int(end - utf8.constData()),
                            SQLITE_STATIC));
    return *this;
}

RowInserter& RowInserter::add(const QVariant& value)
{
    if (value.isNull())
        return addNull();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return add(value.toLongLong());
    case QMetaType::Double:
        return addDouble(value.toDouble());
    case QMetaType::QByteArray:
        return addBlob(value.toByteArray());
    default:
        return add(value.toString());
    }
}

RowInserter& RowInserter::addNull()
{
    check(sqlite3_bind_null(m_stmt, m_next++));
    return *this;
}

RowInserter& RowInserter::addDouble(double value)
{
    check(sqlite3_bind_double(m_stmt, m_next++, value));
    return *this;
}

RowInserter& RowInserter::addBlob(const QByteArray& value)
{
    check(sqlite3_bind_blob(m_stmt, m_next++, value.constData(), int(value.size()),
                            SQLITE_TRANSIENT));
    return *this;
}

void RowInserter::insert()
{
    const int rc = sqlite3_step(m_stmt);
    const QString reason = rc == SQLITE_DONE ? QString() : Database::lastError(m_db);
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    m_next = 1;
    if (rc != SQLITE_DONE)
        throw Error::engine(reason);
}

} // namespace kv::engine
