#include "engine/PgRankTables.h"

#include "core/Error.h"
#include "engine/Database.h"
#include "engine/JetDialect.h"
#include "engine/PgConnection.h"
#include "engine/PgCopyIn.h"
#include "engine/PgSqlForm.h"
#include "engine/Schema.h"
#include "engine/ServerDirectory.h"
#include "engine/Statement.h"

#include <QStringList>
#include <algorithm>

namespace kv::engine
{

namespace
{

// The packed column of one field, in the rank index's order.
void copyOrder(const Database& source, PgCopyIn& out, const QString& table, const QString& field)
{
    Statement rows(
        source, QStringLiteral("SELECT rid, %1 FROM %2 ORDER BY %1, rid")
                    .arg(JetDialect::quoted(field), JetDialect::quoted(Schema::rankTable(table))));
    QByteArray rids, ranks;
    qint64 chunk = 0;
    const auto flush = [&] {
        out.add(table);
        out.add(field);
        out.add(chunk++);
        out.addBytes(rids);
        out.addBytes(ranks);
        out.endRow();
        rids.clear();
        ranks.clear();
    };
    while (rows.step()) {
        const quint64 rid = quint64(rows.int64(0));
        const quint32 rank = quint32(qint32(rows.int64(1)));
        for (int b = 0; b < 8; ++b)
            rids.append(char(rid >> (8 * b)));
        for (int b = 0; b < 4; ++b)
            ranks.append(char(rank >> (8 * b)));
        if (ranks.size() == 4 * PgRankTables::ChunkRows)
            flush();
    }
    if (!ranks.isEmpty())
        flush();
}

// The packed column's rows, appended to out; none when the version has none
// for the field.
void readOrder(const Database& db, const QString& table, const QString& field,
               std::vector<std::pair<qint32, qint64>>& out)
{
    const std::shared_ptr<ServerDirectory> server = db.directory();
    if (!server || !server->hasTable(QLatin1String(PgRankTables::orderTable)))
        return;
    Statement st(db, QStringLiteral("SELECT rids, ranks FROM %1 WHERE table_name = %2 AND "
                                    "field = %3 ORDER BY chunk")
                         .arg(JetDialect::quoted(QLatin1String(PgRankTables::orderTable)),
                              JetDialect::parameter(db.sqlForm(), 1),
                              JetDialect::parameter(db.sqlForm(), 2)));
    st.bind(1, table);
    st.bind(2, field);
    while (st.step()) {
        const QByteArray rids = st.value(0).toByteArray();
        const QByteArray ranks = st.value(1).toByteArray();
        const qsizetype n = ranks.size() / 4;
        if (rids.size() != 8 * n || ranks.size() != 4 * n)
            throw Error::engine(QStringLiteral("the sort order of %1.%2 on the server is damaged; "
                                               "load the directory again")
                                    .arg(table, field));
        const auto* r = reinterpret_cast<const uchar*>(rids.constData());
        const auto* k = reinterpret_cast<const uchar*>(ranks.constData());
        for (qsizetype i = 0; i < n; ++i) {
            quint64 rid = 0;
            for (int b = 7; b >= 0; --b)
                rid = (rid << 8) | r[8 * i + b];
            quint32 rank = 0;
            for (int b = 3; b >= 0; --b)
                rank = (rank << 8) | k[4 * i + b];
            out.emplace_back(qint32(rank), qint64(rid));
        }
    }
}

QStringList trustedFields(const Database& source, const TableInfo& table)
{
    QStringList fields;
    if (!source.hasTable(Schema::rankTable(table.name)))
        return fields;
    for (const QString& f : table.rankedFields())
        if (source.hasRank(table.name, f))
            fields << f;
    return fields;
}

} // namespace

int PgRankTables::copy(const Database& source, PgConnection& target, const QString& schema,
                       const QHash<QString, qint64>& tableRows)
{
    const QString catalog = schema + u'.' + target.identifier(QLatin1String(catalogTable));
    const QString order = schema + u'.' + target.identifier(QLatin1String(orderTable));
    int copied = 0;
    for (const TableInfo& t : Schema::tables()) {
        const QStringList fields = trustedFields(source, t);
        if (fields.isEmpty() || !tableRows.contains(t.name))
            continue;
        if (copied == 0) {
            target.exec(QStringLiteral("CREATE TABLE %1 (table_name text PRIMARY KEY, "
                                       "rowid_field text, ranked_rows bigint NOT NULL)")
                            .arg(catalog));
            target.exec(QStringLiteral("CREATE TABLE %1 (table_name text NOT NULL, field text NOT "
                                       "NULL, chunk bigint NOT NULL, rids bytea NOT NULL, ranks "
                                       "bytea NOT NULL, PRIMARY KEY (table_name, field, chunk))")
                            .arg(order));
        }
        const QString rankTable = Schema::rankTable(t.name);
        QStringList definitions{QStringLiteral("rid bigint NOT NULL")},
            columns{QStringLiteral("rid")}, selected{QStringLiteral("rid")};
        for (const QString& f : fields) {
            definitions << target.identifier(f) + QStringLiteral(" bigint NOT NULL");
            columns << f;
            selected << JetDialect::quoted(f);
        }
        const QString name = schema + u'.' + target.identifier(rankTable);
        target.exec(QStringLiteral("CREATE TABLE %1 (%2)")
                        .arg(name, definitions.join(QStringLiteral(", "))));
        Statement rows(
            source, QStringLiteral("SELECT %1 FROM %2")
                        .arg(selected.join(QStringLiteral(", ")), JetDialect::quoted(rankTable)));
        PgCopyIn in(target, name, columns);
        qint64 n = 0;
        while (rows.step()) {
            for (int c = 0; c < columns.size(); ++c)
                in.add(rows.int64(c));
            in.endRow();
            ++n;
        }
        // The file's rank check ran when it opened; the rows copied since
        // must still be the rows ranked, or the ranks would leave some out.
        if (in.finish() != n || n != tableRows.value(t.name))
            throw Error::engine(QStringLiteral("the sort table %1 holds %2 rows, the table %3 "
                                               "%4; the server was not changed")
                                    .arg(rankTable)
                                    .arg(n)
                                    .arg(t.name)
                                    .arg(tableRows.value(t.name)));
        target.exec(QStringLiteral("ALTER TABLE %1 ADD PRIMARY KEY (rid)").arg(name));
        target.exec(QStringLiteral("ANALYZE %1").arg(name));
        {
            PgCopyIn packed(target, order,
                            {QStringLiteral("table_name"), QStringLiteral("field"),
                             QStringLiteral("chunk"), QStringLiteral("rids"),
                             QStringLiteral("ranks")});
            for (const QString& f : fields)
                copyOrder(source, packed, t.name, f);
            packed.finish();
        }
        const QString rowidField = source.rowidField(t.name);
        target.query(QStringLiteral("INSERT INTO %1 VALUES ($1, $2, $3)").arg(catalog),
                     {t.name, rowidField.isEmpty() ? QVariant() : QVariant(rowidField), n});
        ++copied;
    }
    return copied;
}

PgRankTables::Catalog PgRankTables::read(const Database& db)
{
    Catalog out;
    const std::shared_ptr<ServerDirectory> server = db.directory();
    if (!server || !server->hasTable(QLatin1String(catalogTable)))
        return out;
    Statement st(db, QStringLiteral("SELECT table_name, rowid_field, ranked_rows FROM %1")
                         .arg(JetDialect::quoted(QLatin1String(catalogTable))));
    while (st.step()) {
        const TableInfo* table = Schema::table(st.text(0));
        if (!table || !server->hasTable(Schema::rankTable(table->name)))
            continue;
        const QStringList present = server->columns(Schema::rankTable(table->name));
        QSet<QString> fields;
        for (const QString& f : table->rankedFields())
            if (present.contains(f))
                fields.insert(f);
        if (fields.isEmpty())
            continue;
        out.fields.insert(table->name, fields);
        out.rows.insert(table->name, st.int64(2));
        // Only a field of the table itself: the name ends up in statements.
        if (const QString field = st.text(1).toLower(); table->field(field))
            out.rowidFields.insert(table->name, field);
    }
    return out;
}

std::vector<std::pair<qint32, qint64>>
PgRankTables::column(const Database& db, const QString& table, const QString& field)
{
    std::vector<std::pair<qint32, qint64>> out;
    out.reserve(size_t(std::max<qint64>(0, db.rankedRows(table))));
    readOrder(db, table, field, out);
    // Stored sorted and whole; checked, because a sort by it relies on both.
    const bool sorted =
        std::adjacent_find(out.begin(), out.end(),
                           [](const auto& a, const auto& b) { return !(a < b); }) == out.end();
    if (!sorted || qint64(out.size()) != db.rankedRows(table))
        throw Error::engine(QStringLiteral("the sort order of %1.%2 on the server holds %3 rows, "
                                           "its directory says %4, or is out of order; load the "
                                           "directory again")
                                .arg(table, field)
                                .arg(out.size())
                                .arg(db.rankedRows(table)));
    return out;
}

QHash<qint64, std::vector<qint64>> PgRankTables::ranksOf(const Database& db, const QString& table,
                                                         const QStringList& fields,
                                                         const std::vector<qint64>& rowids)
{
    QStringList quoted;
    for (const QString& f : fields)
        quoted << JetDialect::quoted(f);
    Statement st(db, QStringLiteral("SELECT rid, %1 FROM %2 WHERE rid = any(%3::bigint[])")
                         .arg(quoted.join(u','), JetDialect::quoted(Schema::rankTable(table)),
                              JetDialect::parameter(db.sqlForm(), 1)));
    st.bind(1, PgSqlForm::numberArray(rowids));
    QHash<qint64, std::vector<qint64>> out;
    out.reserve(qsizetype(rowids.size()));
    while (st.step()) {
        std::vector<qint64>& ranks = out[st.int64(0)];
        for (int i = 0; i < fields.size(); ++i)
            ranks.push_back(st.int64(i + 1));
    }
    return out;
}

} // namespace kv::engine
