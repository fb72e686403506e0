#pragma once

#include "reports/ProfileReport.h"
#include "reports/TableCursorSource.h"

#include <memory>

namespace kv
{

class DataModule;
namespace engine
{
class TableCursor;
}

// The profile report's cursors on the data module: TPrn and TOsoby_2 of the
// module, and the report's own industry (TZatE on pzatrid) and activity-line
// (TRadkyP on radky) cursors, which follow TPrn by peno in the table's stored
// order and are open only while the report runs.
class ProfilePrintCursors
{
public:
    explicit ProfilePrintCursors(DataModule& dm);
    ~ProfilePrintCursors();

    ProfileSources sources();

private:
    std::unique_ptr<engine::TableCursor> m_zatE;
    std::unique_ptr<engine::TableCursor> m_radkyP;
    TableCursorSource m_firms;
    TableCursorSource m_persons;
    TableCursorSource m_industries;
    TableCursorSource m_lines;
    DataModule& m_dm;
};

} // namespace kv
