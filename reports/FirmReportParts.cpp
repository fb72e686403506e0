#include "reports/FirmReportParts.h"

#include "core/Error.h"
#include "core/StringTable.h"
#include "domain/FileNoteStore.h"
#include "reports/Report.h"
#include "reports/TextMeasure.h"

namespace kv
{

void FirmReportParts::setupPage(Report& report, const QString& title, qreal fontPoints)
{
    report.title = title;
    report.paperMm = QSizeF(210, 297);
    report.marginsMm = QMarginsF(10, 10, 10, 10);
    report.columns = 1;
    report.printIfEmpty = false;
    report.font = QFont(QStringLiteral("Arial"));
    report.font.setPointSizeF(fontPoints);
}

QFont FirmReportParts::footerFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(8);
    f.setItalic(true);
    return f;
}

ReportBand& FirmReportParts::addFooter(Report& report)
{
    ReportBand& footer = report.addBand(BandKind::PageFooter, QLatin1String(FooterBand));
    footer.height = 37;
    footer.topLine = true;
    const qreal width = report.contentRect().width();
    const QFont font = footerFont();

    ReportBox& imprint = footer.addText(QStringLiteral("imprint"), QRectF(8, 5, 449, 29), {});
    imprint.font = font;
    imprint.wordWrap = true;

    ReportBox& name = footer.addText(QStringLiteral("program"), QRectF(width - 200, 5, 200, 15),
                                     QStringLiteral("Kvelta 2001"));
    name.font = font;
    name.alignment = Qt::AlignRight | Qt::AlignTop;

    ReportBox page;
    page.name = QStringLiteral("page");
    page.kind = ReportBox::Kind::PageNumber;
    page.rect = QRectF(width - 200, 20, 200, 15);
    page.font = font;
    page.alignment = Qt::AlignRight | Qt::AlignTop;
    footer.addBox(std::move(page));
    return footer;
}

void FirmReportParts::fillFooter(Report& report)
{
    ReportBand* footer = report.band(QLatin1String(FooterBand));
    if (!footer)
        return;
    footer->box(QStringLiteral("imprint"))->text = loadStr(217);
    footer->box(QStringLiteral("program"))->text = QStringLiteral("Kvelta 2001");
    footer->box(QStringLiteral("page"))->text = loadStr(226) + QStringLiteral(": ");
}

QString FirmReportParts::trimBlank(const QString& text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b].unicode() <= 0x20)
        ++b;
    while (e > b && text[e - 1].unicode() <= 0x20)
        --e;
    return text.mid(b, e - b);
}

QString FirmReportParts::noteText(NoteStore* notes, qint64 peno)
{
    FileNoteStore files;
    try {
        return trimBlank((notes ? *notes : files).shownText(peno));
    } catch (const Error& e) {
        if (!e.is(Error::Kind::Engine))
            throw;
        return loadStr(256) + QLatin1Char('\n') + e.message();
    }
}

qreal FirmReportParts::extraLinesHeight(const QString& text, const QFont& font, qreal width)
{
    const qsizetype lines = TextMeasure::lines(text, font, width, true).size();
    return lines > 1 ? (lines - 1) * TextMeasure::lineHeight(font) : 0;
}

QString FirmReportParts::quoted(const QString& text)
{
    QString q = text;
    q.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

} // namespace kv
