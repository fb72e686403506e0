#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kv::engine
{

class PgConnection;

// COPY table (columns) FROM STDIN, streamed: rows are collected in a buffer
// of a few hundred kilobytes and sent as it fills, so a table of any size
// needs little memory. The values are encoded in COPY's text format (tabs,
// line breaks and backslashes escaped as COPY reads them back). finish()
// ends the copy and returns the rows the server took; an object destroyed
// without finish() cancels it, and the server keeps none of its rows.
class PgCopyIn
{
public:
    // table: a name as SQL spells it (quoted, maybe with its schema).
    PgCopyIn(PgConnection& connection, const QString& table, const QStringList& columns);
    ~PgCopyIn();
    PgCopyIn(const PgCopyIn&) = delete;
    PgCopyIn& operator=(const PgCopyIn&) = delete;

    void addNull();
    void add(qint64 value);
    void add(double value);
    void add(const QString& value);
    void addBytes(const QByteArray& value); // bytea
    // Ends the row; throws when it does not have one value per column.
    void endRow();
    qint64 finish();

private:
    void field(const QByteArray& encoded);
    void flush();
    PgConnection& m_connection;
    QString m_table;
    int m_columns;
    int m_fields = 0;
    qint64 m_rows = 0;
    QByteArray m_buffer;
    bool m_open = false;
};

} // namespace kv::engine
