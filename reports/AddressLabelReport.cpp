#include "reports/AddressLabelReport.h"

#include "core/StringTable.h"
#include "reports/ReportDataSource.h"

#include <QGuiApplication>
#include <QLocale>
#include <cmath>

namespace kv
{

namespace
{
QString boxName(int n)
{
    return QStringLiteral("l%1").arg(n);
}
} // namespace

AddressLabelReport::AddressLabelReport(ReportDataSource& data, std::function<void()> prepare)
    : m_data(data), m_prepare(std::move(prepare))
{
    m_report.title = loadStr(147);
    m_report.paperMm = QSizeF(210, 297);
    m_report.font = QGuiApplication::font();
    font = LabelFont::fromFont(m_report.font);
    m_detail = &m_report.addBand(BandKind::Detail, QStringLiteral("label"));
    for (int n = 1; n <= LabelComposer::LinesPerLabel; ++n)
        m_detail->addText(boxName(n), QRectF(), QString());
    m_gap = &m_report.addBand(BandKind::Child, QStringLiteral("gap"));
    m_gap->parent = m_detail;
    ReportBox& pl = m_gap->addText(QStringLiteral("pl"), QRectF(0, 0, 0, LineHeight), QString());
    pl.autoSize = true;
    m_report.beforePrint = [this](Report&) { return beforePrint(); };
    m_report.needData = [this](Report&) { return needData(); };
}

void AddressLabelReport::setMargins(qreal left, qreal top, qreal right, qreal bottom)
{
    m_report.marginsMm = QMarginsF(qMax<qreal>(0, left), qMax<qreal>(0, top), qMax<qreal>(0, right),
                                   qMax<qreal>(0, bottom));
}

void AddressLabelReport::layout(int across, int down, qreal, qreal labelHeightMm, qreal columnGapMm,
                                qreal rowGapMm)
{
    m_lines.clear();
    if (across >= 1)
        m_report.columns = across;
    m_report.columnGapMm = qMax<qreal>(0, columnGapMm);
    const qreal labelHeight = qMax<qreal>(0, Report::mmToUnits(labelHeightMm));
    m_detail->height = labelHeight;
    // One layout unit short of the nominal gap, so rounding never pushes the
    // last label of a column off the page.
    const qreal pageUnits = std::round(Report::mmToUnits(m_report.paperMm.height()));
    m_gapMm = rowGapMm - m_report.paperMm.height() / pageUnits;
    m_gap->height = qMax<qreal>(0, Report::mmToUnits(m_gapMm));
    m_lineWidth = std::trunc(m_report.columnWidth()) - 2 * Inset;
    m_labelsDown = down;
    const QFont qfont = font.toFont();
    const QColor colour = font.toColor();
    m_gap->box(QStringLiteral("pl"))->font = qfont;
    for (int n = 1; n <= LabelComposer::LinesPerLabel; ++n) {
        ReportBox* box = m_detail->box(boxName(n));
        const qreal top = FirstLineTop + (n - 1) * (LineHeight + LineSpacing);
        // Lines below a short label are cut at its edge instead of printing
        // over the next one.
        const qreal height = qMin(LineHeight, labelHeight - top);
        box->rect = QRectF(Inset, top, qMax<qreal>(0, m_lineWidth), qMax<qreal>(0, height));
        box->visible = height > 0;
        box->font = qfont;
        box->color = colour;
    }
    m_counter = 0;
}

bool AddressLabelReport::configure(const LabelSettings& s, float sizeWidth, float sizeLength,
                                   QString* error)
{
    double v[LabelGeometry::FieldCount];
    const QLocale locale;
    for (int f = 0; f < LabelGeometry::FieldCount; ++f) {
        bool ok = false;
        v[f] = locale.toDouble(s.fields[size_t(f)], &ok);
        if (!ok)
            v[f] = s.fields[size_t(f)].toDouble(&ok);
        if (!ok || !std::isfinite(v[f]) ||
            ((f == LabelGeometry::CountH || f == LabelGeometry::CountV) &&
             std::fabs(v[f]) > LabelGeometry::MaxCount)) {
            if (error)
                *error = QStringLiteral("'%1' is not a valid number").arg(s.fields[size_t(f)]);
            return false;
        }
    }
    using G = LabelGeometry;
    // The bottom margin gives up the column gap: the last row needs no gap.
    setMargins(v[G::Left], v[G::Top], v[G::Right], v[G::Bottom] - v[G::SpaceH]);
    font = s.font;
    layout(int(v[G::CountH]), int(v[G::CountV]), sizeWidth, sizeLength, v[G::SpaceH], v[G::SpaceV]);
    options = s.options;
    salutation = s.options[LabelSettings::Salutation] ? s.salutation.trimmed() : QString();
    return true;
}

bool AddressLabelReport::beforePrint()
{
    if (m_prepare)
        m_prepare();
    m_data.first();
    // A run broken off early must not shift the next one.
    m_counter = 0;
    return true;
}

bool AddressLabelReport::needData()
{
    ++m_counter;
    if (m_counter == m_labelsDown) {
        m_gap->height = Report::mmToUnits(LastGapMm);
        m_counter = 0;
    } else {
        m_gap->height = qMax<qreal>(0, Report::mmToUnits(m_gapMm));
    }
    composeCurrent();
    if (m_lines.isEmpty() || m_lines.first().isEmpty()) {
        m_data.first();
        m_counter = 0;
        return false;
    }
    for (int n = 1; n <= LabelComposer::LinesPerLabel; ++n)
        m_detail->box(boxName(n))->text = n <= m_lines.size() ? m_lines[n - 1] : QString();
    m_gap->box(QStringLiteral("pl"))->text.clear();
    return true;
}

void AddressLabelReport::composeCurrent()
{
    m_lines.clear();
    if (m_data.eof()) {
        for (int n = 0; n < LabelComposer::LinesPerLabel; ++n)
            m_lines << QString();
    } else {
        LabelComposer composer(font.toFont());
        composer.lineWidth = m_lineWidth;
        composer.salutation = salutation;
        composer.options = options;
        composer.countryText = loadStr(183);
        m_lines = composer.compose({m_data.value(QStringLiteral("nazev")).toString(),
                                    m_data.value(QStringLiteral("ulice")).toString(),
                                    m_data.value(QStringLiteral("misto")).toString(),
                                    m_data.value(QStringLiteral("psc")).toString()});
    }
    m_data.next();
}

} // namespace kv
