#pragma once

#include "reports/MemoryDataSource.h"
#include "reports/Report.h"

#include <functional>

namespace kv
{

class NoteStore;
class ReportDataSource;

// The cursors the profile report walks: the firms (TPrn) and the three
// detail cursors that follow them by peno. open runs when a generation
// starts, close when it ends (the report's own detail cursors).
struct ProfileSources {
    ReportDataSource* firms = nullptr;      // TPrn
    ReportDataSource* persons = nullptr;    // TOsoby_2, field kontos
    ReportDataSource* industries = nullptr; // TZatE, fields kod and txt
    ReportDataSource* lines = nullptr;      // TRadkyP, field radek
    // The session's notes, printed as the profile window lists them (on a
    // server every author's with author and time). Unset: the note files.
    NoteStore* notes = nullptr;
    std::function<void()> open;
    std::function<void()> close;
};

// The company profile report: one firm per page with its logo at the top,
// number, name and address, the contact lines it has, its contact persons,
// industries, activity lines and note, and the page footer. No widgets here.
class ProfileReport
{
public:
    explicit ProfileReport(ProfileSources sources);

    Report& report() { return m_report; }

    // The logo file of a logo field inside the data home's Log folder ("" for
    // none, a missing file or a name that leads outside the folder).
    static QString logoPath(const QString& logo);

private:
    void addMain();
    void addContact(const char* band, const char* field, bool topLine);
    ReportBand& addSection(const char* header, const char* subDetail, ReportDataSource* data);
    void prepare();
    bool beforeLogo(ReportBand& band);
    bool beforeMain(ReportBand& band);

    ProfileSources m_sources;
    MemoryDataSource m_note; // the firm's note, one row or none
    Report m_report;
};

} // namespace kv
