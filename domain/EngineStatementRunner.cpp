#include "domain/EngineStatementRunner.h"

#include "engine/BoundStatement.h"
#include "engine/JetDialect.h"
#include "engine/Schema.h"
#include "engine/Statement.h"

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
    const engine::Translated q = engine::JetDialect::select(statementLines.join(u'\n'));
    engine::BoundStatement bound(m_db, q);
    engine::Statement& st = bound.statement();
    PenoList numbers;
    while (st.step())
        numbers << st.int64(0);
    return numbers;
}

QList<PenoList> EngineStatementRunner::penoPerValue(const ValueIndex& index,
                                                    const QList<qint64>& keys, bool)
{
    if (keys.isEmpty())
        return {};
    // The names come from the program's own table of index tables; checking
    // them here keeps anything else out of the statement text.
    const engine::TableInfo& table = engine::JetDialect::knownTable(QLatin1String(index.table));
    const QString keyField =
        engine::JetDialect::knownField(table, QLatin1String(index.keyField)).name;
    static quint64 serial = 0;
    engine::Translated q;
    engine::IntSet set{QStringLiteral("kv_keys_%1").arg(++serial),
                       sortedUnique(std::vector<qint64>(keys.begin(), keys.end()))};
    // CROSS JOIN keeps the key list outside: one index probe per key, rows
    // already in key and peno order.
    q.sql = QStringLiteral("SELECT k.n, t.peno FROM temp.%1 k CROSS JOIN %2 t ON t.%3 = k.n "
                           "ORDER BY k.n, t.peno")
                .arg(set.table, engine::JetDialect::quoted(table.name),
                     engine::JetDialect::quoted(keyField));
    q.sets.push_back(std::move(set));

    std::vector<qint64> found; // keys with rows, ascending
    QList<PenoList> byFound;
    {
        engine::BoundStatement bound(m_db, q);
        engine::Statement& st = bound.statement();
        while (st.step()) {
            const qint64 key = st.int64(0);
            const qint64 peno = st.int64(1);
            if (found.empty() || found.back() != key) {
                found.push_back(key);
                byFound.append(PenoList());
            }
            PenoList& firms = byFound.last();
            if (firms.isEmpty() || firms.last() != peno) // distinct(peno)
                firms << peno;
        }
    }
    QList<PenoList> out;
    out.reserve(keys.size());
    for (qint64 key : keys) {
        const auto it = std::lower_bound(found.begin(), found.end(), key);
        out << (it != found.end() && *it == key ? byFound.at(it - found.begin()) : PenoList());
    }
    return out;
}

qsizetype EngineStatementRunner::countFirms(const engine::Filter& filter)
{
    const engine::TableInfo& firma = engine::JetDialect::knownTable(QStringLiteral("firma"));
    engine::Translated q = engine::JetDialect::filter(firma.name, filter);
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
