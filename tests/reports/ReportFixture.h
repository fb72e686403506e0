#pragma once

// Small reports over in-memory data for the engine and preview tests.

#include "reports/MemoryDataSource.h"
#include "reports/Report.h"

#include <QStringList>
#include <vector>

namespace kvtest
{

inline QList<QVariantMap> firms(int count)
{
    QList<QVariantMap> rows;
    for (int i = 1; i <= count; ++i)
        rows.append({{"peno", i},
                     {"nazev", QStringLiteral("Firma %1").arg(i)},
                     {"tel", QStringLiteral("+420 5%1").arg(i, 5, 10, QChar('0'))}});
    return rows;
}

// The bands placed on a page, in order, as "name@top".
inline QStringList bandsOf(const kv::ReportPage& page)
{
    QStringList out;
    for (const kv::DrawOp& op : page.ops) {
        if (op.type == kv::DrawOp::Type::Band)
            out << op.bandName;
    }
    return out;
}

inline std::vector<const kv::DrawOp*> opsOf(const kv::ReportPage& page, kv::DrawOp::Type type,
                                            const QString& band = {})
{
    std::vector<const kv::DrawOp*> out;
    for (const kv::DrawOp& op : page.ops) {
        if (op.type == type && (band.isEmpty() || op.bandName == band))
            out.push_back(&op);
    }
    return out;
}

inline QStringList textsOf(const kv::ReportPage& page, const QString& band = {})
{
    QStringList out;
    for (const kv::DrawOp* op : opsOf(page, kv::DrawOp::Type::Text, band))
        out << op->text;
    return out;
}

// A list-like report: margins 10 mm, detail with the name, footer with the
// page number.
inline void makeList(kv::Report& report, kv::ReportDataSource* data, qreal detailHeight = 25)
{
    report.marginsMm = QMarginsF(10, 10, 10, 10);
    report.title = QStringLiteral("Seznam");
    report.setDataSource(data);
    auto& detail = report.addBand(kv::BandKind::Detail, QStringLiteral("detail"));
    detail.height = detailHeight;
    detail.addField(QStringLiteral("name"), QRectF(0, 0, 500, 17), QString(),
                    QStringLiteral("nazev"));
    auto& footer = report.addBand(kv::BandKind::PageFooter, QStringLiteral("footer"));
    footer.height = 37;
    footer.topLine = true;
    footer.addExpression(QStringLiteral("page"), QRectF(600, 20, 100, 15),
                         QStringLiteral("'Strana: ' + PAGENUMBER"));
}

} // namespace kvtest
