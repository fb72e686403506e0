#pragma once

#include "reports/ReportExpression.h"
#include "reports/ReportPage.h"

#include <optional>
#include <vector>

namespace kv
{

class PageSink;
class Report;
class ReportBand;
struct ReportBox;

// One run of a report: walks the data, lays out the bands onto pages and
// hands each finished page to the sink.
//
// Bands flow down a column, then on to the next column and the next page. A
// band that does not fit the rest of the column moves to the next one, unless
// it grew through auto-stretch: then the lines that fit stay and the rest
// continues in the next column. Page footers sit at the bottom of the page.
class ReportGenerator
{
public:
    ReportGenerator(Report& report, PageSink& sink) : m_report(report), m_sink(sink) {}

    // False when the run was cancelled or its before-print hook refused.
    bool run();

private:
    struct Laid {
        std::vector<DrawOp> ops; // band-local coordinates
        qreal height = 0;
        bool stretched = false;
    };

    void printRecord();
    void printTree(ReportBand& band);
    void printSubDetail(ReportBand& subDetail);
    bool layout(ReportBand& band, qreal width, Laid& out, bool runHook = true);
    QString boxText(const ReportBox& box) const;
    void place(ReportBand& band, Laid laid);
    // Places a band taller than the space left, continuing in later columns.
    void placeSplit(const ReportBand& band, const Laid& laid);
    void emitPart(const ReportBand& band, const Laid& laid, qreal x, qreal y, qreal height);
    void ensurePage();
    void startPage();
    void finishPage();
    void nextColumn();
    qreal columnLeft() const;
    ExpressionContext context() const;
    bool stopped() const;
    void allowEvents();

    Report& m_report;
    PageSink& m_sink;
    std::optional<ReportPage> m_page;
    int m_pageNumber = 0;
    int m_column = 0;
    qreal m_y = 0;
    qreal m_columnTop = 0;
    qreal m_bottom = 0;
    bool m_detailOnPage = false;
    bool m_sinkDone = false;
    int m_records = 0;
};

} // namespace kv
