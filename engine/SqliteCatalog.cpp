#include "engine/SqliteCatalog.h"

#include "engine/Database.h"
#include "engine/Statement.h"

#include <algorithm>

namespace kv::engine
{

namespace
{

std::vector<SqliteCatalog::Index> indexesOf(const Database& db, const QString& table)
{
    std::vector<SqliteCatalog::Index> out;
    Statement list(db, QStringLiteral("SELECT name, \"unique\", origin, partial FROM "
                                      "pragma_index_list(?1) ORDER BY name"));
    list.bind(1, table);
    while (list.step()) {
        if (list.text(2) == QLatin1String("pk") || list.int64(3) != 0)
            continue; // the primary key is added as such; partial indexes need their WHERE
        SqliteCatalog::Index index{list.text(0), list.int64(1) != 0, {}};
        Statement info(db, QStringLiteral("SELECT name FROM pragma_index_info(?1) ORDER BY seqno"));
        info.bind(1, index.name);
        bool plain = true;
        while (info.step()) {
            if (info.isNull(0))
                plain = false; // an expression
            else
                index.columns << info.text(0);
        }
        if (plain && !index.columns.isEmpty())
            out.push_back(index);
    }
    return out;
}

} // namespace

QStringList SqliteCatalog::Table::primaryKey() const
{
    std::vector<const Column*> keyed;
    for (const Column& c : columns)
        if (c.keyOrder > 0)
            keyed.push_back(&c);
    std::sort(keyed.begin(), keyed.end(),
              [](const Column* a, const Column* b) { return a->keyOrder < b->keyOrder; });
    QStringList names;
    for (const Column* c : keyed)
        names << c->name;
    return names;
}

SqliteCatalog::Type SqliteCatalog::affinity(const QString& declaredType)
{
    const QString t = declaredType.toUpper();
    if (t.contains(QLatin1String("INT")))
        return Type::Integer;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) ||
        t.contains(QLatin1String("TEXT")))
        return Type::Text;
    if (t.contains(QLatin1String("BLOB")))
        return Type::Blob;
    if (t.isEmpty())
        return Type::Text; // no affinity: values are kept as given, text is the safe common form
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) ||
        t.contains(QLatin1String("DOUB")))
        return Type::Real;
    return Type::Numeric;
}

QString SqliteCatalog::quoted(const QString& name)
{
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

std::vector<SqliteCatalog::Table> SqliteCatalog::tables(const Database& db)
{
    std::vector<Table> out;
    QStringList virtualTables;
    Statement virt(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                      "sql LIKE 'CREATE VIRTUAL TABLE%'"));
    while (virt.step())
        virtualTables << virt.text(0);
    Statement list(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                      "ORDER BY name"));
    while (list.step()) {
        const QString name = list.text(0);
        const QString lower = name.toLower();
        if (lower.startsWith(QLatin1String("sqlite_")) || lower.startsWith(QLatin1String("kv_")))
            continue;
        const bool shadow =
            std::any_of(virtualTables.begin(), virtualTables.end(),
                        [&](const QString& v) { return name == v || name.startsWith(v + u'_'); });
        if (shadow)
            continue;
        Table table{name, {}, indexesOf(db, name)};
        Statement columns(db, QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?1) "
                                             "ORDER BY cid"));
        columns.bind(1, name);
        while (columns.step())
            table.columns.push_back(
                {columns.text(0), affinity(columns.text(1)), int(columns.int64(2))});
        out.push_back(std::move(table));
    }
    return out;
}

qint64 SqliteCatalog::rowCount(const Database& db, const QString& table)
{
    Statement count(db, QStringLiteral("SELECT count(*) FROM %1").arg(quoted(table)));
    count.step();
    return count.int64(0);
}

} // namespace kv::engine
