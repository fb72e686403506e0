#pragma once

#include "reports/ReportBox.h"
#include "reports/ReportPage.h"

#include <functional>
#include <memory>
#include <vector>

namespace kv
{

class ReportDataSource;

// A horizontal strip of a report. Detail bands print once per record of the
// driving cursor; a child band prints right after its parent (not when the
// parent was suppressed); a sub-detail walks its cursor once per record of its
// master band, headed by its group header; page headers and footers frame
// every page.
class ReportBand
{
public:
    // Return false to leave the band out for this record. May change boxes,
    // positions and the height.
    using Hook = std::function<bool(ReportBand&)>;

    ReportBand(BandKind kind, QString name) : m_kind(kind), m_name(std::move(name)) {}

    BandKind kind() const { return m_kind; }
    const QString& name() const { return m_name; }

    qreal height = 0;             // layout units
    bool forceNewPage = false;    // start a page before it, unless the page is still empty
    bool printWhenEmpty = false;  // sub-detail: print once with its cursor empty
    bool topLine = false;         // dotted line along the top edge
    ReportBand* parent = nullptr; // child band: printed after this one
    ReportBand* master = nullptr; // sub-detail: the band whose records it details
    ReportBand* header = nullptr; // sub-detail: its group header
    ReportDataSource* dataSource = nullptr; // sub-detail cursor
    Hook beforePrint;

    ReportBox& addBox(ReportBox box);
    ReportBox& addText(const QString& name, const QRectF& rect, const QString& text);
    ReportBox& addField(const QString& name, const QRectF& rect, const QString& source,
                        const QString& field);
    ReportBox& addExpression(const QString& name, const QRectF& rect, const QString& expression);
    ReportBox& addPicture(const QString& name, const QRectF& rect, const QImage& picture);
    ReportBox* box(const QString& name) const;
    const std::vector<std::unique_ptr<ReportBox>>& boxes() const { return m_boxes; }

private:
    BandKind m_kind;
    QString m_name;
    std::vector<std::unique_ptr<ReportBox>> m_boxes;
};

} // namespace kv
