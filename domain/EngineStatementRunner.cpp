#include "domain/EngineStatementRunner.h"

#include "domain/IndexIntersection.h"

#include "engine/BoundStatement.h"
#include "engine/Database.h"
#include "engine/JetDialect.h"
#include "engine/KeyFirmLists.h"
#include "engine/KeySetFilter.h"
#include "engine/RankOrder.h"
#include "engine/Schema.h"
#include "engine/Statement.h"

#include <QHash>
#include <algorithm>
#include <iterator>
#include <vector>

namespace kv
{

namespace
{

std::vector<qint64> sortedUnique(std::vector<qint64> v)
{
    if (!std::is_sorted(v.begin(), v.end()))
        std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}

std::vector<qint64> sortedUnique(const PenoList& list)
{
    return sortedUnique(std::vector<qint64>(list.begin(), list.end()));
}

} // namespace

PenoList EngineStatementRunner::peno(const QStringList& statementLines)
{
    // Straight from the statement: a word shared by half a million firms
    // would otherwise become half a million records of variants.
    const engine::Translated q =
        engine::JetDialect::select(statementLines.join(u'\n'), m_db.sqlForm());
    engine::BoundStatement bound(m_db, q);
    engine::Statement& st = bound.statement();
    PenoList numbers;
    while (st.step())
        numbers << st.int64(0);
    return numbers;
}

QList<PenoList> EngineStatementRunner::penoPerValue(const ValueIndex& index,
                                                    const QList<qint64>& keys, bool stopAtEmpty)
{
    // The names come from the program's own table of index tables; checking
    // them here keeps anything else out of the statement text.
    const engine::TableInfo& table = engine::JetDialect::knownTable(QLatin1String(index.table));
    const QString keyField =
        engine::JetDialect::knownField(table, QLatin1String(index.keyField)).name;
    // One prepared probe per key: the (key, peno) index answers it alone,
    // rows already in peno order. A join against a table of the keys was
    // planned with an automatic index over the whole table instead once a
    // key held thousands of rows (SQLite guesses a large key table), which
    // cost seconds.
    engine::KeyFirmLists lists(m_db, table.name, keyField);
    QHash<qint64, qsizetype> done; // key -> its list in out
    QList<PenoList> out;
    out.reserve(keys.size());
    for (qint64 key : keys) {
        if (const auto it = done.constFind(key); it != done.constEnd()) {
            out << out.at(*it);
            continue;
        }
        const std::vector<qint64> firms = lists.firms(key);
        done.insert(key, out.size());
        out << PenoList(firms.begin(), firms.end());
        if (stopAtEmpty && out.last().isEmpty())
            break;
    }
    return out;
}

PenoList EngineStatementRunner::firmsOfRow(const ValueIndex& index, const QList<qint64>& keys,
                                           bool all, const CombiningStatement& combining)
{
    if (all) {
        const engine::TableInfo& table = engine::JetDialect::knownTable(QLatin1String(index.table));
        const QString keyField =
            engine::JetDialect::knownField(table, QLatin1String(index.keyField)).name;
        if (m_db.isServer()) {
            if (std::optional<PenoList> firms = intersectOnServer(table, keyField, keys))
                return *std::move(firms);
        } else if (!keys.isEmpty() && std::all_of(keys.begin(), keys.end(),
                                                  [&](qint64 k) { return k == keys.first(); })) {
            // One key: its list whole, from a remembered copy when it is long.
            return penoPerValue(index, {keys.first()}, true).value(0);
        } else if (const std::optional<std::vector<qint64>> firms =
                       IndexIntersection::firms(m_db, table.name, keyField, keys)) {
            return PenoList(firms->begin(), firms->end());
        }
    }
    return StatementRunner::firmsOfRow(index, keys, all, combining);
}

std::optional<PenoList> EngineStatementRunner::intersectOnServer(const engine::TableInfo& table,
                                                                 const QString& keyField,
                                                                 const QList<qint64>& keys)
{
    // A join of the key's rows on peno, which the server's planner orders
    // from the rarest key (an INTERSECT would read every list whole: 0.6 s
    // for a word of a million firms). Up to its default join_collapse_limit
    // of 8 tables it reorders the joins; beyond that the lists come whole.
    constexpr size_t MaxJoined = 8;
    const std::vector<qint64> distinct =
        sortedUnique(std::vector<qint64>(keys.begin(), keys.end()));
    if (distinct.empty() || distinct.size() > MaxJoined)
        return std::nullopt;
    const QString name = engine::JetDialect::quoted(table.name);
    const QString key = engine::JetDialect::quoted(keyField);
    const auto param = [&](size_t i) {
        return engine::JetDialect::parameter(m_db.sqlForm(), int(i) + 1);
    };
    QString sql = QStringLiteral("SELECT DISTINCT t0.peno FROM %1 t0").arg(name);
    for (size_t i = 1; i < distinct.size(); ++i)
        sql += QStringLiteral(" JOIN %1 t%2 ON t%2.peno = t0.peno AND t%2.%3 = %4")
                   .arg(name)
                   .arg(i)
                   .arg(key, param(i));
    sql += QStringLiteral(" WHERE t0.%1 = %2 ORDER BY 1").arg(key, param(0));
    engine::Statement st(m_db, sql);
    for (size_t i = 0; i < distinct.size(); ++i)
        st.bind(int(i) + 1, distinct[i]);
    PenoList firms;
    while (st.step())
        firms << st.int64(0);
    return firms;
}

qsizetype EngineStatementRunner::countFirms(const engine::Filter& filter)
{
    const engine::TableInfo& firma = engine::JetDialect::knownTable(QStringLiteral("firma"));
    // A long list of company numbers alone: the firms the table has, without
    // a pass over the table (the rank column that tells them serves the sort
    // of the same set after OK).
    if (const engine::Filter::Numbers* numbers =
            engine::KeySetFilter::numbers(m_db, firma.name, filter);
        numbers && engine::RankOrder::worthColumns(m_db, firma.name, numbers->size()))
        if (const engine::RankColumn* rows = engine::KeySetFilter::rowsOf(m_db, firma.name))
            return qsizetype(engine::KeySetFilter::count(*rows, *numbers));
    engine::Translated q =
        engine::JetDialect::filter(firma.name, filter, QString(), m_db.sqlForm());
    q.sql = QStringLiteral("SELECT count(*) FROM %1 WHERE ")
                .arg(engine::JetDialect::quoted(firma.name)) +
            q.sql;
    engine::BoundStatement bound(m_db, q);
    engine::Statement& st = bound.statement();
    return st.step() ? qsizetype(st.int64(0)) : 0;
}

PenoList EngineStatementRunner::combine(const std::function<QString()>&,
                                        const QList<PenoList>& lists, bool all)
{
    if (lists.isEmpty())
        return {};
    if (!all) {
        // One sort of everything: merging list after list would cost the
        // size of the growing union once per list.
        std::vector<qint64> merged;
        qsizetype total = 0;
        for (const PenoList& l : lists)
            total += l.size();
        merged.reserve(size_t(total));
        for (const PenoList& l : lists)
            merged.insert(merged.end(), l.begin(), l.end());
        merged = sortedUnique(std::move(merged));
        return PenoList(merged.begin(), merged.end());
    }
    // Smallest first: an intersection never grows beyond it.
    std::vector<std::vector<qint64>> sets;
    for (const PenoList& l : lists)
        sets.push_back(sortedUnique(l));
    std::sort(sets.begin(), sets.end(),
              [](const auto& a, const auto& b) { return a.size() < b.size(); });
    std::vector<qint64> result = std::move(sets.front());
    std::vector<qint64> scratch;
    for (size_t i = 1; i < sets.size() && !result.empty(); ++i) {
        scratch.clear();
        std::set_intersection(result.begin(), result.end(), sets[i].begin(), sets[i].end(),
                              std::back_inserter(scratch));
        result.swap(scratch);
    }
    return PenoList(result.begin(), result.end());
}

} // namespace kv
