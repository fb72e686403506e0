#include "engine/SchemaCheck.h"

#include "engine/Database.h"
#include "engine/Schema.h"

#include <QSet>

namespace kv::engine
{

QString SchemaGaps::describe() const
{
    QStringList parts;
    if (!tables.isEmpty())
        parts << QStringLiteral("Missing tables: %1.").arg(tables.join(QStringLiteral(", ")));
    if (!fields.isEmpty())
        parts << QStringLiteral("Missing fields: %1.").arg(fields.join(QStringLiteral(", ")));
    return parts.join(u' ');
}

SchemaGaps SchemaCheck::missing(const Database& db)
{
    SchemaGaps gaps;
    for (const TableInfo& table : Schema::tables()) {
        if (!db.hasTable(table.name)) {
            gaps.tables << table.name;
            continue;
        }
        QSet<QString> present;
        for (const QString& column : db.columnNames(table.name))
            present.insert(column.toLower());
        for (const FieldInfo& field : table.fields)
            if (!present.contains(field.name))
                gaps.fields << table.name + u'.' + field.name;
    }
    return gaps;
}

} // namespace kv::engine
