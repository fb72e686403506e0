#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kv::engine
{

class Database;

// What a company database holds, as a copy to another engine needs it: its
// data tables with their columns, keys and plain indexes. Left out are
// SQLite's own tables, virtual tables with their shadow tables, and the
// program's derived tables (kv_...: Czech ranks, the quick-find index),
// which another engine builds its own way.
class SqliteCatalog
{
public:
    enum class Type { Integer, Real, Text, Blob, Numeric };

    struct Column {
        QString name;
        Type type;    // SQLite's affinity of the declared type
        int keyOrder; // position in the primary key, 0 when not part of it
    };
    struct Index {
        QString name;
        bool unique;
        QStringList columns;
    };
    struct Table {
        QString name;
        std::vector<Column> columns;
        std::vector<Index> indexes; // on plain columns; partial and expression ones are left out
        QStringList primaryKey() const;
    };

    static std::vector<Table> tables(const Database& db);
    static qint64 rowCount(const Database& db, const QString& table);
    // SQLite's affinity rules for a declared column type.
    static Type affinity(const QString& declaredType);
    // "name" quoted for SQLite.
    static QString quoted(const QString& name);
};

} // namespace kv::engine
