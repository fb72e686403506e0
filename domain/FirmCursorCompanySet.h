#pragma once

#include "domain/CompanySet.h"

#include <functional>

namespace kv
{

namespace engine
{
class TableCursor;
}

// The company set of the data module's TFirma cursor as OK sees it. The
// exclusion list is re-applied through a hook, since the record exclusion
// owns that clause; without a hook nothing is re-applied.
class FirmCursorCompanySet : public CompanySet
{
public:
    explicit FirmCursorCompanySet(engine::TableCursor& firma,
                                  std::function<void()> reapplyExclusion = {});

    engine::Filter filter() const override;
    void setFilter(const engine::Filter& filter) override;
    int recordCount() override;
    void reapplyExclusion() override;

private:
    engine::TableCursor& m_firma;
    std::function<void()> m_reapply;
};

} // namespace kv
