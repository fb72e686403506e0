#include "reports/FirmListReport.h"

#include "core/StringTable.h"
#include "reports/FirmReportParts.h"
#include "reports/ReportDataSource.h"

#include <iterator>

namespace kv
{

namespace
{

struct Line {
    const char* box;
    const char* field;
    int textId;
};
// In the order they print, each 15 units below the one before.
constexpr Line kLines[] = {
    {"tel", "tel", 27}, {"fax", "fax", 28}, {"email", "email", 29}, {"www", "www", 30}};
constexpr qreal kFirstTop = 18;
constexpr qreal kNoteWidth = 684;

} // namespace

FirmListReport::FirmListReport(ReportDataSource& firms) : m_firms(firms)
{
    FirmReportParts::setupPage(m_report, loadStr(125), 8);
    m_report.setDataSource(&m_firms, QStringLiteral("TPrn"));
    const qreal width = m_report.columnWidth();

    ReportBand& detail = m_report.addBand(BandKind::Detail, QStringLiteral("Detail"));
    detail.height = BandHeight;
    ReportBox& name = detail.addExpression(
        QStringLiteral("nazev"), QRectF(0, 0, width, kFirstTop),
        QStringLiteral("TPrn.nazev + ';  ' + TPrn.ulice + ';  ' + TPrn.misto + ';  ' + TPrn.psc"));
    name.wordWrap = true;
    qreal top = kFirstTop;
    for (const Line& l : kLines) {
        detail.addExpression(QLatin1String(l.box), QRectF(25, top, width - 25, LineStep), {});
        top += LineStep;
    }
    ReportBox& note =
        detail.addText(QStringLiteral("pozn"), QRectF(25, top, kNoteWidth, LineStep), {});
    note.wordWrap = true;
    note.autoStretch = true;
    detail.beforePrint = [this](ReportBand& band) { return beforeDetail(band); };

    FirmReportParts::addFooter(m_report);
    m_report.beforePrint = [this](Report&) {
        prepare();
        return true;
    };
}

QString FirmListReport::contactLabel(int textId)
{
    return loadStr(textId).leftJustified(13, QLatin1Char(' '));
}

void FirmListReport::prepare()
{
    m_report.setDataSource(&m_firms, QStringLiteral("TPrn"));
    ReportBand& detail = *m_report.band(QStringLiteral("Detail"));
    for (const Line& l : kLines)
        detail.box(QLatin1String(l.box))->expression =
            FirmReportParts::quoted(contactLabel(l.textId) + QStringLiteral(":  ")) +
            QStringLiteral(" + TPrn.") + QLatin1String(l.field);
    FirmReportParts::fillFooter(m_report);
}

bool FirmListReport::beforeDetail(ReportBand& band)
{
    band.height = BandHeight;
    ReportBox& name = *band.box(QStringLiteral("nazev"));
    // A name and address too long for one line wrap and push the rest down.
    const QString first =
        m_firms.value(QStringLiteral("nazev")).toString() + QStringLiteral(";  ") +
        m_firms.value(QStringLiteral("ulice")).toString() + QStringLiteral(";  ") +
        m_firms.value(QStringLiteral("misto")).toString() + QStringLiteral(";  ") +
        m_firms.value(QStringLiteral("psc")).toString();
    const qreal extra = FirmReportParts::extraLinesHeight(first, m_report.font, name.rect.width());
    name.rect.setHeight(kFirstTop + extra);
    band.height += extra;

    qreal top = kFirstTop + extra;
    for (size_t i = 0; i < std::size(kLines); ++i) {
        ReportBox& box = *band.box(QLatin1String(kLines[i].box));
        const QString value = m_firms.value(QLatin1String(kLines[i].field)).toString();
        box.visible = items[i] && !FirmReportParts::isBlank(value);
        box.rect.moveTop(top);
        if (box.visible)
            top += LineStep;
        else
            band.height -= LineStep;
    }

    ReportBox& note = *band.box(QStringLiteral("pozn"));
    note.rect.moveTop(top);
    note.rect.setHeight(LineStep);
    note.text.clear();
    if (items[Pozn]) {
        const qint64 peno = m_firms.value(QStringLiteral("peno")).toLongLong();
        note.text = FirmReportParts::noteText(notes, peno);
    }
    note.visible = !note.text.isEmpty();
    if (!note.visible)
        band.height -= LineStep;
    return true;
}

} // namespace kv
