#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kv::engine
{

enum class FieldKind {
    Integer, // sorted numerically
    Text,    // sorted in Czech order
    Flag,    // one-character marks; sorted by code, so any mark comes before empty when DESC
    Memo,
};

struct FieldInfo {
    QString name; // canonical lower-case name
    FieldKind kind;
    bool ranked; // finishDatabase stores its order (Czech for texts) as an integer rank
};

struct TableInfo {
    QString name; // canonical lower-case name
    std::vector<FieldInfo> fields;
    const FieldInfo* field(const QString& name) const;
    QStringList rankedFields() const;
};

// The tables and fields the program knows. Filters and statements may name
// nothing else; this is what keeps arbitrary SQL out of the engine.
class Schema
{
public:
    static const TableInfo* table(const QString& name);
    static const std::vector<TableInfo>& tables();
    // CREATE TABLE statements for every table above, fields in their order
    // (INTEGER or TEXT), for builders of a company database such as tests.
    static QString createSql();
    // Name of the table that holds the Czech ranks of a table's text fields.
    static QString rankTable(const QString& table) { return QStringLiteral("kv_rank_") + table; }
};

} // namespace kv::engine
