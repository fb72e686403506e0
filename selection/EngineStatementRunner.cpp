#include "selection/EngineStatementRunner.h"

#include "data/engine/BoundStatement.h"
#include "data/engine/JetDialect.h"
#include "data/engine/Statement.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace kv
{

namespace
{

std::vector<int> sortedUnique(const QList<int>& list)
{
    std::vector<int> v(list.begin(), list.end());
    if (!std::is_sorted(v.begin(), v.end()))
        std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}

} // namespace

QList<int> EngineStatementRunner::peno(const QStringList& statementLines)
{
    // Straight from the statement: a word shared by half a million firms
    // would otherwise become half a million records of variants.
    const engine::Translated q = engine::JetDialect::select(statementLines.join(u'\n'));
    engine::BoundStatement bound(m_db, q);
    engine::Statement& st = bound.statement();
    QList<int> numbers;
    while (st.step())
        numbers << int(st.int64(0));
    return numbers;
}

QList<int> EngineStatementRunner::combine(const std::function<QString()>&,
                                          const QList<QList<int>>& lists, bool all)
{
    if (lists.isEmpty())
        return {};
    // Smallest first: an intersection never grows beyond it.
    std::vector<std::vector<int>> sets;
    for (const QList<int>& l : lists)
        sets.push_back(sortedUnique(l));
    if (all)
        std::sort(sets.begin(), sets.end(),
                  [](const auto& a, const auto& b) { return a.size() < b.size(); });
    std::vector<int> result = std::move(sets.front());
    std::vector<int> scratch;
    for (size_t i = 1; i < sets.size(); ++i) {
        scratch.clear();
        if (all)
            std::set_intersection(result.begin(), result.end(), sets[i].begin(), sets[i].end(),
                                  std::back_inserter(scratch));
        else
            std::set_union(result.begin(), result.end(), sets[i].begin(), sets[i].end(),
                           std::back_inserter(scratch));
        result.swap(scratch);
        if (all && result.empty())
            break;
    }
    return QList<int>(result.begin(), result.end());
}

} // namespace kv
