#pragma once

#include "engine/Filter.h"

#include <QString>
#include <optional>

namespace kv
{

class CompanySet;
class StatementRunner;

struct ApplyResult {
    bool matched = false; // false: tell the user no firm matches (text 79)
    int recordCount = 0;  // the company set's count afterwards, for the status bar
};

// OK of the selection window: installs filter on the company set. An empty
// filter, or one that matches no firm, puts the previous filter back and
// re-applies the exclusion list. When the engine rejects the new filter the
// previous one is put back too and the error is passed on.
ApplyResult applySelection(const engine::Filter& filter, CompanySet& set);

// Count of the selection window: the number of firms the filter selects in
// the whole company table, or nothing when the filter is empty (text 196).
std::optional<int> countSelection(const engine::Filter& filter, StatementRunner& runner);

} // namespace kv
