#include "selection/FirmaCompanySet.h"

#include "data/engine/TableCursor.h"

namespace kv
{

FirmaCompanySet::FirmaCompanySet(engine::TableCursor& firma, std::function<void()> reapply)
    : m_firma(firma), m_reapply(std::move(reapply))
{
}

QString FirmaCompanySet::filter() const
{
    return m_firma.filter();
}

void FirmaCompanySet::setFilter(const QString& filter)
{
    m_firma.setFilter(filter, true);
}

int FirmaCompanySet::recordCount()
{
    return m_firma.recordCount();
}

void FirmaCompanySet::reapplyExclusion()
{
    if (m_reapply)
        m_reapply();
}

} // namespace kv
