#pragma once

#include <QString>
#include <QStringList>

namespace kv::engine
{

class Database;

// What a database lacks of the company schema (Schema::tables()): the
// program reads every one of these tables and fields, so a database without
// one of them must be refused when it opens, not fail later in a window.
struct SchemaGaps {
    QStringList tables; // tables missing altogether
    QStringList fields; // "table.field" of the tables that exist

    bool isEmpty() const { return tables.isEmpty() && fields.isEmpty(); }
    // One line naming everything missing, e.g.
    // "Missing tables: osoby, radky. Missing fields: firma.psc."
    QString describe() const;
};

class SchemaCheck
{
public:
    static SchemaGaps missing(const Database& db);
};

} // namespace kv::engine
