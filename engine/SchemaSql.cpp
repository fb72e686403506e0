#include "engine/SchemaSql.h"

#include "engine/Schema.h"

namespace kv::engine
{

QString SchemaSql::rowKey(const QString& table)
{
    const QString t = table.toLower();
    if (t == QLatin1String("firma"))
        return QStringLiteral("peno");
    if (t == QLatin1String("mista") || t == QLatin1String("okresy") ||
        t == QLatin1String("slnazev") || t == QLatin1String("slulice") ||
        t == QLatin1String("slradky"))
        return QStringLiteral("id");
    return QString();
}

QString SchemaSql::createSql(const TableInfo& t, Keys keys)
{
    const QString key = keys == Keys::RowKey ? rowKey(t.name) : QString();
    QStringList columns;
    for (const FieldInfo& f : t.fields) {
        QString c = f.name + (f.kind == FieldKind::Integer ? QStringLiteral(" INTEGER")
                                                           : QStringLiteral(" TEXT"));
        if (f.name == key)
            c += QStringLiteral(" PRIMARY KEY");
        columns << c;
    }
    return QStringLiteral("CREATE TABLE %1(%2)").arg(t.name, columns.join(QStringLiteral(", ")));
}

QString SchemaSql::createSql(Keys keys)
{
    QString sql;
    for (const TableInfo& t : Schema::tables())
        sql += createSql(t, keys) + u';';
    return sql;
}

QStringList SchemaSql::lookupIndexSql()
{
    return {
        QStringLiteral("CREATE INDEX ix_firma_nazev ON firma(nazev)"),
        QStringLiteral("CREATE INDEX ix_slico_ico ON slico(ico)"),
        QStringLiteral("CREATE INDEX ix_slnazev_txt ON slnazev(txt)"),
        QStringLiteral("CREATE INDEX ix_slulice_txt ON slulice(txt)"),
        QStringLiteral("CREATE INDEX ix_slradky_txt ON slradky(txt)"),
        QStringLiteral("CREATE INDEX ix_zatrid_kod ON zatrid(kod)"),
        QStringLiteral("CREATE INDEX ix_zatrid_txt ON zatrid(txt)"),
        QStringLiteral("CREATE INDEX ix_mista_misto ON mista(misto)"),
        QStringLiteral("CREATE INDEX ix_okresy_okres ON okresy(okres)"),
    };
}

} // namespace kv::engine
