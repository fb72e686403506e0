#include "domain/FirmCursorCompanySet.h"

#include "engine/TableCursor.h"

namespace kv
{

FirmCursorCompanySet::FirmCursorCompanySet(engine::TableCursor& firma,
                                           std::function<void()> reapply)
    : m_firma(firma), m_reapply(std::move(reapply))
{
}

engine::Filter FirmCursorCompanySet::filter() const
{
    return m_firma.filterWithSets();
}

void FirmCursorCompanySet::setFilter(const engine::Filter& filter)
{
    m_firma.setFilter(filter, true);
}

int FirmCursorCompanySet::recordCount()
{
    return m_firma.recordCount();
}

void FirmCursorCompanySet::reapplyExclusion()
{
    if (m_reapply)
        m_reapply();
}

} // namespace kv
