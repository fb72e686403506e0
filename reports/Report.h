#pragma once

#include "reports/PageStore.h"
#include "reports/ReportBand.h"

#include "core/SafeFileWriter.h"

#include <QFont>
#include <QHash>
#include <QMarginsF>
#include <QObject>
#include <QPageLayout>
#include <QSizeF>
#include <functional>
#include <memory>
#include <vector>

class QPagedPaintDevice;

namespace kv
{

class ReportDataSource;

// A band report: an A4 page with margins and columns, bands with boxes, an
// optional driving cursor and hooks. It generates into its own page store for
// the preview and, run again, onto any paged device (a PDF writer here, a
// printer chosen in ui/ReportPrinter). No widgets or print system here.
class Report : public QObject
{
    Q_OBJECT
public:
    static constexpr qreal kUnitsPerMm = 96.0 / 25.4;
    static qreal mmToUnits(qreal mm) { return mm * kUnitsPerMm; }

    explicit Report(QObject* parent = nullptr);
    ~Report() override;

    QString title;
    QSizeF paperMm{210, 297}; // portrait A4; the orientation turns it
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF marginsMm; // left, top, right, bottom
    int columns = 1;
    qreal columnGapMm = 0;
    QFont font;
    bool printIfEmpty = false;

    // The driving cursor, read in expressions as name.field (and bare field).
    void setDataSource(ReportDataSource* source, const QString& name = QStringLiteral("TPrn"));
    ReportDataSource* dataSource() const { return m_source; }
    // Further cursors that expressions and field boxes may name.
    void addSource(const QString& name, ReportDataSource* source);
    ReportDataSource* source(const QString& name) const;

    // Before every run; false cancels it (no pages).
    std::function<bool(Report&)> beforePrint;
    std::function<void(Report&)> afterPrint;
    // Without a driving cursor: asked before each detail band whether one more
    // record follows; fills the band's boxes itself.
    std::function<bool(Report&)> needData;

    ReportBand& addBand(BandKind kind, const QString& name);
    ReportBand* band(const QString& name) const;
    const std::vector<std::unique_ptr<ReportBand>>& bands() const { return m_bands; }

    // Geometry in layout units, following the orientation.
    QSizeF pageSize() const;
    QRectF contentRect() const;
    qreal columnWidth() const;
    qreal columnGap() const { return mmToUnits(columnGapMm); }

    PageStore& pageStore() { return m_store; }

    // Generates into the page store; returns the page count. Does nothing
    // while a run is going on. Throws Error::report for a faulty definition.
    int generate();
    // Runs the report into any sink (a recording, a benchmark).
    bool run(PageSink& sink);
    // Generates pages firstPage..lastPage (0/0 all) into a PDF in memory
    // and writes it to path through SafeFileWriter; with copies > 1 the
    // pages follow each other that many times (collated). Returns the pages
    // drawn, copies included; with none, nothing is written. Throws Error::file.
    int writePdf(const QString& path, int firstPage, int lastPage,
                 const SafeFileWriter::Options& options, int copies = 1);
    // Generates onto a paged device already set up for the job (page layout,
    // full page), drawing pages firstPage..lastPage (0/0 all). The drawn
    // pages are also copied to record when given.
    bool printTo(QPagedPaintDevice& device, int firstPage, int lastPage,
                 PageSink* record = nullptr);

    bool isGenerating() const { return m_running; }
    void cancel() { m_cancel = true; }
    bool cancelRequested() const { return m_cancel; }
    // Records between two rounds of pending user-interface events.
    int eventInterval = 8;

signals:
    void generationStarted();
    void pageGenerated(int pageNumber);
    // Now and then during a run: records done of the driving cursor's total
    // (-1 when the cursor does not know it).
    void recordsDone(int done, int total);
    void generationFinished(int pageCount);

private:
    std::vector<std::unique_ptr<ReportBand>> m_bands;
    ReportDataSource* m_source = nullptr;
    QString m_sourceName;
    QHash<QString, ReportDataSource*> m_sources;
    PageStore m_store;
    bool m_running = false;
    bool m_cancel = false;
};

} // namespace kv
