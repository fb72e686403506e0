#include "reports/ReportGenerator.h"

#include "core/Error.h"
#include "reports/PageSink.h"
#include "reports/Report.h"
#include "reports/ReportDataSource.h"
#include "reports/TextMeasure.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>
#include <numeric>

namespace kv
{

namespace
{
constexpr qreal kEps = 0.01;
}

bool ReportGenerator::run()
{
    if (m_report.beforePrint && !m_report.beforePrint(m_report))
        return false;
    ReportDataSource* data = m_report.dataSource();
    if (data) {
        data->first();
        while (!data->eof() && !stopped()) {
            printRecord();
            data->next();
        }
    } else if (m_report.needData) {
        while (!stopped() && m_report.needData(m_report))
            printRecord();
    } else {
        printRecord();
    }
    if (!stopped() && m_pageNumber == 0 && m_report.printIfEmpty)
        startPage();
    if (m_page && !m_report.cancelRequested())
        finishPage();
    if (m_report.afterPrint)
        m_report.afterPrint(m_report);
    return !m_report.cancelRequested();
}

bool ReportGenerator::stopped() const
{
    return m_sinkDone || m_report.cancelRequested();
}

void ReportGenerator::allowEvents()
{
    if (m_report.eventInterval > 0 && ++m_records % m_report.eventInterval == 0) {
        const ReportDataSource* data = m_report.dataSource();
        emit m_report.recordsDone(m_records, data ? data->recordCount() : -1);
        QCoreApplication::processEvents();
    }
}

void ReportGenerator::printRecord()
{
    for (const auto& band : m_report.bands()) {
        if (band->kind() != BandKind::Detail || stopped())
            continue;
        if (band->forceNewPage && m_detailOnPage && m_page)
            finishPage();
        printTree(*band);
    }
    allowEvents();
}

void ReportGenerator::printTree(ReportBand& band)
{
    if (stopped())
        return;
    const bool columnBand =
        band.kind() != BandKind::PageHeader && band.kind() != BandKind::PageFooter;
    Laid laid;
    if (!layout(band, columnBand ? m_report.columnWidth() : m_report.contentRect().width(), laid))
        return;
    place(band, std::move(laid));
    for (const auto& other : m_report.bands()) {
        if (other->kind() == BandKind::Child && other->parent == &band)
            printTree(*other);
    }
    for (const auto& other : m_report.bands()) {
        if (other->kind() == BandKind::SubDetail && other->master == &band)
            printSubDetail(*other);
    }
}

void ReportGenerator::printSubDetail(ReportBand& subDetail)
{
    ReportDataSource* data = subDetail.dataSource;
    if (!data) {
        printTree(subDetail);
        return;
    }
    data->first();
    if (data->eof()) {
        if (!subDetail.printWhenEmpty)
            return;
        if (subDetail.header)
            printTree(*subDetail.header);
        printTree(subDetail);
        return;
    }
    if (subDetail.header)
        printTree(*subDetail.header);
    while (!data->eof() && !stopped()) {
        printTree(subDetail);
        data->next();
    }
}

QString ReportGenerator::boxText(const ReportBox& box) const
{
    switch (box.kind) {
    case ReportBox::Kind::Text:
    case ReportBox::Kind::Picture:
        return box.text;
    case ReportBox::Kind::Field: {
        const ReportDataSource* src = m_report.source(box.source);
        if (!src)
            throw Error::report(
                QStringLiteral("Box \"%1\": unknown cursor \"%2\"").arg(box.name, box.source));
        return src->value(box.field).toString();
    }
    case ReportBox::Kind::Expression:
        return ReportExpression::evaluate(box.expression, context());
    case ReportBox::Kind::PageNumber:
        return box.text + QString::number(m_pageNumber);
    case ReportBox::Kind::ColumnNumber:
        return QString::number(m_column + 1);
    case ReportBox::Kind::ReportTitle:
        return m_report.title;
    }
    return {};
}

ExpressionContext ReportGenerator::context() const
{
    ExpressionContext c;
    c.source = [this](const QString& name) -> const ReportDataSource* {
        return m_report.source(name);
    };
    c.pageNumber = m_pageNumber;
    c.columnNumber = m_column + 1;
    c.reportTitle = m_report.title;
    return c;
}

bool ReportGenerator::layout(ReportBand& band, qreal width, Laid& out, bool runHook)
{
    // A band printed on a page not yet started must see that page's number.
    if (band.kind() != BandKind::PageHeader && band.kind() != BandKind::PageFooter)
        ensurePage();
    if (runHook && band.beforePrint && !band.beforePrint(band))
        return false;
    qreal growth = 0;
    for (const auto& boxPtr : band.boxes()) {
        const ReportBox& box = *boxPtr;
        if (!box.visible)
            continue;
        QRectF r = box.rect;
        DrawOp op;
        op.bandKind = band.kind();
        op.bandName = band.name();
        op.boxName = box.name;
        if (box.kind == ReportBox::Kind::Picture) {
            if (box.picture.isNull())
                continue;
            if (box.autoSize)
                r.setSize(box.picture.size());
            op.type = DrawOp::Type::Picture;
            op.rect = op.clip = r;
            op.image = box.picture;
            out.ops.push_back(std::move(op));
            continue;
        }
        const QFont font = box.font.value_or(m_report.font);
        const QString text = boxText(box);
        const QStringList lines = TextMeasure::lines(text, font, r.width(), box.wordWrap);
        if (box.autoSize && !box.wordWrap) {
            qreal w = 0;
            for (const QString& l : lines)
                w = qMax(w, TextMeasure::width(l, font));
            r.setWidth(qMax(r.width(), w));
        }
        const qreal lh = TextMeasure::lineHeight(font);
        const qreal needed = lines.size() * lh;
        if (box.autoStretch && needed > r.height() + kEps) {
            growth = qMax(growth, needed - r.height());
            r.setHeight(needed);
        }
        op.type = DrawOp::Type::Text;
        op.font = font;
        op.alignment = int(box.alignment);
        op.color = box.color;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].isEmpty())
                continue;
            const QRectF lineRect(r.left(), r.top() + i * lh, r.width(), lh);
            const QRectF clip = lineRect.intersected(r);
            if (clip.isEmpty())
                break;
            DrawOp line = op;
            line.rect = lineRect;
            line.clip = clip;
            line.text = lines[i];
            out.ops.push_back(std::move(line));
        }
    }
    if (band.topLine) {
        DrawOp line;
        line.type = DrawOp::Type::Line;
        line.bandKind = band.kind();
        line.bandName = band.name();
        line.rect = QRectF(0, 0, width, 0);
        line.penStyle = Qt::DotLine;
        out.ops.insert(out.ops.begin(), std::move(line));
    }
    out.height = band.height + growth;
    out.stretched = growth > 0;
    return true;
}

void ReportGenerator::place(ReportBand& band, Laid laid)
{
    const bool columnBand =
        band.kind() != BandKind::PageHeader && band.kind() != BandKind::PageFooter;
    if (!columnBand) {
        emitPart(band, laid, m_report.contentRect().left(), m_y, laid.height);
        m_y += laid.height;
        return;
    }
    for (;;) {
        if (stopped())
            return;
        ensurePage();
        const qreal avail = m_bottom - m_y;
        if (laid.height <= avail + kEps) {
            emitPart(band, laid, columnLeft(), m_y, laid.height);
            m_y += laid.height;
            return;
        }
        const bool fresh = m_y <= m_columnTop + kEps;
        if (!laid.stretched && !fresh && laid.height <= m_bottom - m_columnTop + kEps) {
            nextColumn();
            // Lay out again (the hook has had its say) so that page and column
            // numbers are those of the place where the band lands.
            Laid again;
            if (!stopped()) {
                ensurePage();
                layout(band, m_report.columnWidth(), again, false);
                laid = std::move(again);
            }
            continue;
        }
        placeSplit(band, laid);
        return;
    }
}

void ReportGenerator::placeSplit(const ReportBand& band, const Laid& laid)
{
    // Split: what lies within the space left stays, the rest continues in the
    // next column. The ops are taken in the order of their bottoms, with the
    // part already placed as an offset, so a band of tens of thousands of
    // lines costs one pass over them rather than one per page it covers.
    const size_t n = laid.ops.size();
    std::vector<size_t> byBottom(n);
    std::iota(byBottom.begin(), byBottom.end(), size_t(0));
    std::stable_sort(byBottom.begin(), byBottom.end(), [&](size_t a, size_t b) {
        return laid.ops[a].rect.bottom() < laid.ops[b].rect.bottom();
    });
    std::vector<qreal> minTop(n + 1, std::numeric_limits<qreal>::max()); // over byBottom[i..]
    for (size_t i = n; i-- > 0;)
        minTop[i] = qMin(minTop[i + 1], laid.ops[byBottom[i]].rect.top());
    // The ops byBottom[from..to), moved up by offset, in the order they were laid out.
    const auto part = [&](size_t from, size_t to, qreal offset) {
        std::vector<size_t> picked(byBottom.begin() + qsizetype(from),
                                   byBottom.begin() + qsizetype(to));
        std::sort(picked.begin(), picked.end());
        Laid out;
        out.ops.reserve(picked.size());
        for (size_t i : picked) {
            DrawOp op = laid.ops[i];
            op.rect.translate(0, -offset);
            op.clip.translate(0, -offset);
            out.ops.push_back(std::move(op));
        }
        return out;
    };
    size_t placed = 0; // byBottom[0..placed) are on earlier columns
    qreal offset = 0;  // the height they took
    for (bool first = true;; first = false) {
        if (stopped())
            return;
        ensurePage();
        const qreal avail = m_bottom - m_y;
        const qreal height = laid.height - offset;
        if (!first && height <= avail + kEps) {
            emitPart(band, part(placed, n, offset), columnLeft(), m_y, height);
            m_y += height;
            return;
        }
        const bool fresh = m_y <= m_columnTop + kEps;
        size_t fit = placed;
        while (fit < n && laid.ops[byBottom[fit]].rect.bottom() - offset <= avail + kEps)
            ++fit;
        const qreal cut = qMin(height, minTop[fit] - offset);
        if (fit == placed && !fresh) {
            nextColumn();
            continue;
        }
        if (cut <= kEps) {
            // Nothing can be split off (one item taller than the page): cut it.
            emitPart(band, part(placed, n, offset), columnLeft(), m_y, avail);
            m_y = m_bottom;
            return;
        }
        emitPart(band, part(placed, fit, offset), columnLeft(), m_y, qMin(avail, height));
        placed = fit;
        offset += cut;
        nextColumn();
    }
}

void ReportGenerator::emitPart(const ReportBand& band, const Laid& laid, qreal x, qreal y,
                               qreal height)
{
    DrawOp marker;
    marker.type = DrawOp::Type::Band;
    marker.bandKind = band.kind();
    marker.bandName = band.name();
    const qreal width = band.kind() == BandKind::PageHeader || band.kind() == BandKind::PageFooter
                            ? m_report.contentRect().width()
                            : m_report.columnWidth();
    marker.rect = QRectF(x, y, width, height);
    m_page->ops.push_back(std::move(marker));
    // Any record's band makes the page taken, also the tail of a band that
    // ran over from the page before: the next forced break must not add to it.
    if (band.kind() != BandKind::PageHeader && band.kind() != BandKind::PageFooter)
        m_detailOnPage = true;
    for (DrawOp op : laid.ops) {
        op.rect.translate(x, y);
        op.clip.translate(x, y);
        m_page->ops.push_back(std::move(op));
    }
}

qreal ReportGenerator::columnLeft() const
{
    return m_report.contentRect().left() +
           m_column * (m_report.columnWidth() + m_report.columnGap());
}

void ReportGenerator::ensurePage()
{
    if (!m_page)
        startPage();
}

void ReportGenerator::startPage()
{
    ++m_pageNumber;
    m_page.emplace();
    m_page->number = m_pageNumber;
    m_page->size = m_report.pageSize();
    m_column = 0;
    m_detailOnPage = false;
    const QRectF content = m_report.contentRect();
    m_y = content.top();
    qreal footers = 0;
    for (const auto& band : m_report.bands()) {
        if (band->kind() == BandKind::PageFooter)
            footers += band->height;
    }
    m_bottom = content.bottom() - footers;
    for (const auto& band : m_report.bands()) {
        if (band->kind() != BandKind::PageHeader)
            continue;
        Laid laid;
        if (layout(*band, content.width(), laid))
            place(*band, std::move(laid));
    }
    m_columnTop = m_y;
}

void ReportGenerator::finishPage()
{
    const QRectF content = m_report.contentRect();
    std::vector<std::pair<ReportBand*, Laid>> footers;
    qreal total = 0;
    for (const auto& band : m_report.bands()) {
        if (band->kind() != BandKind::PageFooter)
            continue;
        Laid laid;
        if (layout(*band, content.width(), laid)) {
            total += laid.height;
            footers.emplace_back(band.get(), std::move(laid));
        }
    }
    m_y = content.bottom() - total;
    for (auto& [band, laid] : footers)
        place(*band, std::move(laid));
    ReportPage page = std::move(*m_page);
    m_page.reset();
    if (!m_sink.addPage(std::move(page)))
        m_sinkDone = true;
}

void ReportGenerator::nextColumn()
{
    ++m_column;
    if (m_column >= qMax(1, m_report.columns)) {
        finishPage();
        return;
    }
    m_y = m_columnTop;
}

} // namespace kv
