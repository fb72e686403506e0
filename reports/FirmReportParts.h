#pragma once

#include <QFont>
#include <QString>

namespace kv
{

class NoteStore;
class Report;
class ReportBand;

// What the company list and the company profile reports share: the page,
// the page footer and the way they tell a blank field from a filled one.
class FirmReportParts
{
public:
    // A4 portrait, all margins 10 mm, one column, no pages over an empty set.
    static void setupPage(Report& report, const QString& title, qreal fontPoints);

    // The footer on every page: dotted line, the maker's imprint at the left,
    // "Kvelta 2001" and "Strana: n" right-aligned, all Arial 8 pt italic. The
    // texts come from the string table when a run starts (fillFooter).
    static ReportBand& addFooter(Report& report);
    static void fillFooter(Report& report);
    static QFont footerFont();

    // The text without blanks and control characters (line breaks, tabs) at
    // either end.
    static QString trimBlank(const QString& text);
    static bool isBlank(const QString& text) { return trimBlank(text).isEmpty(); }
    // The firm's notes as the profile window shows them, trimmed: from
    // notes, or from the private note files when it is null. A server that
    // cannot be asked prints what the window says then, with the reason.
    static QString noteText(NoteStore* notes, qint64 peno);

    // Extra height a text needs beyond its first line when wrapped to width.
    static qreal extraLinesHeight(const QString& text, const QFont& font, qreal width);

    // A literal for a report expression ('text', quotes doubled).
    static QString quoted(const QString& text);

    static constexpr const char* FooterBand = "Paticka";
};

} // namespace kv
