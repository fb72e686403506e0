#pragma once

#include "engine/Record.h"

#include <QStringList>
#include <vector>

namespace kv::engine
{

class Database;

// Runs one SELECT of the program, given as lines of text (joined by line
// breaks) and translated by JetDialect, and holds its rows.
class QueryCursor
{
public:
    explicit QueryCursor(Database& db) : m_db(db) {}

    void setSql(const QStringList& lines);
    QStringList sql() const { return m_lines; }
    void clear(); // closes and forgets the statement

    void open(); // throws Error::engine; the rejected or failed statement leaves it closed
    void close();
    bool isOpen() const { return m_open; }

    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    int recordCount() const { return int(m_rows.size()); }
    int position() const { return m_index + 1; }
    void setPosition(int position);

    QVariant value(const QString& field) const;
    QString text(const QString& field) const { return value(field).toString(); }
    int integer(const QString& field) const { return value(field).toInt(); }
    bool isNull(const QString& field) const { return value(field).isNull(); }
    QVariant value(int column) const;
    QStringList fieldNames() const { return m_fields ? m_fields->names() : QStringList(); }
    const Record& current() const;

private:
    Database& m_db;
    QStringList m_lines;
    bool m_open = false;
    std::shared_ptr<const FieldSet> m_fields;
    std::vector<Record> m_rows;
    int m_index = -1;
    bool m_eof = true;
    bool m_bof = true;
};

} // namespace kv::engine
