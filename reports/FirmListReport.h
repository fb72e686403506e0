#pragma once

#include "reports/Report.h"

#include <array>

namespace kv
{

class NoteStore;
class ReportDataSource;

// The company list report: one block per firm of the print cursor, the name
// and address on the first line and below it the chosen contact lines and
// the firm's note, each only when the firm has a value. No widgets here.
//
//   TableCursorSource firms(*dm.printFirms());
//   FirmListReport list(firms);
//   list.items[FirmListReport::Tel] = true;
//   preview.showReport(list.report());
class FirmListReport
{
public:
    enum Item { Tel, Fax, Email, Www, Pozn, ItemCount };

    explicit FirmListReport(ReportDataSource& firms);

    Report& report() { return m_report; }
    // Telephone, fax, e-mail, web and note: off until chosen.
    std::array<bool, ItemCount> items{};
    // Where the notes are read: the session's notes (on a server every
    // author's, as the profile shows them). Unset: the private note files.
    NoteStore* notes = nullptr;

    // A contact line's label: the text padded with blanks to 13 characters.
    static QString contactLabel(int textId);

    static constexpr qreal BandHeight = 100;
    static constexpr qreal LineStep = 15;

private:
    void prepare();
    bool beforeDetail(ReportBand& band);

    ReportDataSource& m_firms;
    Report m_report;
};

} // namespace kv
