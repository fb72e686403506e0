#pragma once

#include "engine/Filter.h"

#include <QString>

namespace kv
{

// The current company set as the selection's OK sees it: the company
// table's filter, its record count and the re-applying of the exclusion
// list. The data module provides it.
class CompanySet
{
public:
    virtual ~CompanySet() = default;
    virtual engine::Filter filter() const = 0;
    // Installs the filter and switches filtering on.
    virtual void setFilter(const engine::Filter& filter) = 0;
    virtual int recordCount() = 0;
    virtual void reapplyExclusion() = 0;
};

} // namespace kv
