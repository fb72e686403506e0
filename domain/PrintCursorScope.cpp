#include "domain/PrintCursorScope.h"

#include "domain/DataModule.h"
#include "engine/TableCursor.h"

namespace kv
{

PrintCursorScope::PrintCursorScope(DataModule& dm, const QString& filterOverride) : m_dm(dm)
{
    engine::TableCursor* print = dm.printFirms();
    if (!print) // no database open
        return;
    print->close();
    if (filterOverride.isEmpty()) {
        print->setSort(dm.firms()->sort());
        print->setFilter(dm.firms()->filterWithSets(), dm.firms()->isFiltered());
    } else {
        print->setFilter(filterOverride, true);
    }
    print->open();
}

PrintCursorScope::~PrintCursorScope()
{
    // The database may have been closed meanwhile; its cursors are gone then.
    if (engine::TableCursor* persons = m_dm.printPersons())
        persons->close();
    if (engine::TableCursor* print = m_dm.printFirms())
        print->close();
}

} // namespace kv
