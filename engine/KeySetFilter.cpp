#include "engine/KeySetFilter.h"

#include "engine/Database.h"
#include "engine/JetDialect.h"
#include "engine/RankColumn.h"
#include "engine/Schema.h"

#include <algorithm>

namespace kv::engine
{

namespace
{

// Whether the bracket that opens the text closes at its end.
bool enclosed(const QString& s)
{
    if (s.size() < 2 || s.front() != u'(' || s.back() != u')')
        return false;
    int depth = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'(')
            ++depth;
        else if (s[i] == u')' && --depth == 0)
            return i == s.size() - 1;
    }
    return false;
}

template <typename Keep>
void eachRow(const RankColumn& table, const Filter::Numbers& numbers, Keep keep)
{
    const auto ascending = [](const Filter::Numbers& v) {
        return std::adjacent_find(v.begin(), v.end(), std::greater_equal<qint64>()) == v.end();
    };
    if (ascending(numbers)) {
        for (const qint64 n : numbers)
            if (table.contains(n))
                keep(n);
        return;
    }
    Filter::Numbers sorted = numbers;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (const qint64 n : sorted)
        if (table.contains(n))
            keep(n);
}

} // namespace

const Filter::Numbers* KeySetFilter::numbers(const Database& db, const QString& table,
                                             const Filter& filter)
{
    if (filter.sets().size() != 1 || !filter.sets()[0])
        return nullptr;
    QString s = filter.skeleton().simplified().toLower();
    s.replace(QStringLiteral("( "), QStringLiteral("("));
    s.replace(QStringLiteral(" )"), QStringLiteral(")"));
    s.replace(QStringLiteral(" ("), QStringLiteral("("));
    while (enclosed(s))
        s = s.mid(1, s.size() - 2);
    const QString field = db.rowidField(table);
    if (field.isEmpty() || s != field + QStringLiteral(" in(") + Filter::marker(0) + u')')
        return nullptr;
    return filter.sets()[0].get();
}

const RankColumn* KeySetFilter::rowsOf(const Database& db, const QString& table)
{
    if (const RankColumn* loaded = db.anyRankColumn(table))
        return loaded;
    const TableInfo* info = Schema::table(table);
    if (!info)
        return nullptr;
    for (const QString& field : info->rankedFields())
        if (db.hasRank(info->name, field))
            return &db.rankColumn(info->name, field);
    return nullptr;
}

std::vector<qint64> KeySetFilter::rows(const RankColumn& table, const Filter::Numbers& numbers)
{
    std::vector<qint64> out;
    out.reserve(std::min(numbers.size(), table.size()));
    eachRow(table, numbers, [&out](qint64 n) { out.push_back(n); });
    return out;
}

qint64 KeySetFilter::count(const RankColumn& table, const Filter::Numbers& numbers)
{
    qint64 n = 0;
    eachRow(table, numbers, [&n](qint64) { ++n; });
    return n;
}

} // namespace kv::engine
