#include "domain/SelectionApply.h"

#include "domain/CompanySet.h"
#include "domain/StatementRunner.h"

namespace kv
{

namespace
{

void restore(CompanySet& set, const engine::Filter& previous)
{
    set.setFilter(previous);
    set.reapplyExclusion();
}

} // namespace

ApplyResult applySelection(const engine::Filter& filter, CompanySet& set)
{
    // The previous filter may carry the exclusion clause; it comes back
    // whole when the new one is of no use.
    const engine::Filter previous = set.filter();
    int n = 0;
    if (!filter.isEmpty()) {
        try {
            set.setFilter(filter);
            n = set.recordCount();
        } catch (...) {
            try {
                restore(set, previous);
            } catch (...) {
                // The original failure is the one worth reporting.
            }
            throw;
        }
    }
    ApplyResult result;
    result.matched = !filter.isEmpty() && n > 0;
    if (!result.matched)
        restore(set, previous);
    result.recordCount = result.matched ? n : set.recordCount();
    return result;
}

std::optional<int> countSelection(const engine::Filter& filter, StatementRunner& runner)
{
    if (filter.isEmpty())
        return std::nullopt;
    return int(runner.countFirms(filter));
}

} // namespace kv
