#include "reports/ProfilePrintCursors.h"

#include "domain/DataModule.h"
#include "engine/TableCursor.h"

namespace kv
{

namespace
{

std::unique_ptr<engine::TableCursor> detailOf(DataModule& dm, const char* table)
{
    auto cursor = std::make_unique<engine::TableCursor>(dm.db(), QLatin1String(table));
    cursor->setMaster(dm.printFirms(), QStringLiteral("peno"));
    return cursor;
}

} // namespace

ProfilePrintCursors::ProfilePrintCursors(DataModule& dm)
    : m_zatE(detailOf(dm, "pzatrid")), m_radkyP(detailOf(dm, "radky")), m_firms(*dm.printFirms()),
      m_persons(*dm.printPersons()), m_industries(*m_zatE), m_lines(*m_radkyP), m_dm(dm)
{
}

ProfilePrintCursors::~ProfilePrintCursors() = default;

ProfileSources ProfilePrintCursors::sources()
{
    ProfileSources s;
    s.firms = &m_firms;
    s.persons = &m_persons;
    s.industries = &m_industries;
    s.lines = &m_lines;
    s.notes = &m_dm.notes();
    s.open = [this] {
        m_zatE->open();
        m_radkyP->open();
    };
    s.close = [this] {
        m_zatE->close();
        m_radkyP->close();
    };
    return s;
}

} // namespace kv
