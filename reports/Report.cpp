#include "reports/Report.h"

#include "core/Error.h"
#include "reports/PrinterPageSink.h"
#include "reports/ReportGenerator.h"

#include <QBuffer>
#include <QPdfWriter>

namespace kv
{

namespace
{

// Clears the running flag however the run ends (a hook may throw).
struct RunGuard {
    explicit RunGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~RunGuard() { m_flag = false; }
    bool& m_flag;
};

// Passes pages on and tells the report about each.
class NotifyingSink : public PageSink
{
public:
    NotifyingSink(Report& report, PageSink& inner) : m_report(report), m_inner(inner) {}
    bool addPage(ReportPage&& page) override
    {
        const int n = page.number;
        const bool more = m_inner.addPage(std::move(page));
        emit m_report.pageGenerated(n);
        return more;
    }

private:
    Report& m_report;
    PageSink& m_inner;
};

// Keeps the pages of a run.
struct PageList : PageSink {
    bool addPage(ReportPage&& page) override
    {
        pages.push_back(std::move(page));
        return true;
    }
    std::vector<ReportPage> pages;
};

} // namespace

Report::Report(QObject* parent) : QObject(parent), m_store(this)
{
    font.setFamily(QStringLiteral("Arial"));
    font.setPointSizeF(8);
}

Report::~Report() = default;

void Report::setDataSource(ReportDataSource* source, const QString& name)
{
    if (!m_sourceName.isEmpty())
        m_sources.remove(m_sourceName.toLower());
    m_source = source;
    m_sourceName = name;
    if (source && !name.isEmpty())
        m_sources.insert(name.toLower(), source);
}

void Report::addSource(const QString& name, ReportDataSource* source)
{
    m_sources.insert(name.toLower(), source);
}

ReportDataSource* Report::source(const QString& name) const
{
    if (name.isEmpty())
        return m_source;
    return m_sources.value(name.toLower());
}

ReportBand& Report::addBand(BandKind kind, const QString& name)
{
    m_bands.push_back(std::make_unique<ReportBand>(kind, name));
    return *m_bands.back();
}

ReportBand* Report::band(const QString& name) const
{
    for (const auto& b : m_bands) {
        if (b->name() == name)
            return b.get();
    }
    return nullptr;
}

QSizeF Report::pageSize() const
{
    QSizeF mm = paperMm;
    if (orientation == QPageLayout::Landscape)
        mm.transpose();
    return mm * kUnitsPerMm;
}

QRectF Report::contentRect() const
{
    const QSizeF page = pageSize();
    const qreal l = mmToUnits(marginsMm.left());
    const qreal t = mmToUnits(marginsMm.top());
    return QRectF(l, t, page.width() - l - mmToUnits(marginsMm.right()),
                  page.height() - t - mmToUnits(marginsMm.bottom()));
}

qreal Report::columnWidth() const
{
    const int n = qMax(1, columns);
    return (contentRect().width() - (n - 1) * columnGap()) / n;
}

bool Report::run(PageSink& sink)
{
    if (m_running)
        return false;
    RunGuard guard(m_running);
    m_cancel = false;
    NotifyingSink notify(*this, sink);
    ReportGenerator generator(*this, notify);
    return generator.run();
}

int Report::generate()
{
    if (m_running)
        return m_store.pageCount();
    m_store.clear();
    emit generationStarted();
    try {
        run(m_store);
    } catch (...) {
        m_store.setFinished();
        emit generationFinished(m_store.pageCount());
        throw;
    }
    m_store.setFinished();
    emit generationFinished(m_store.pageCount());
    return m_store.pageCount();
}

int Report::writePdf(const QString& path, int firstPage, int lastPage,
                     const SafeFileWriter::Options& options, int copies)
{
    if (m_running)
        return 0;
    // Checked first: a refused target costs no run.
    SafeFileWriter::target(path, options);
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(1200);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Kvelta 2001"));
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0)));
        // A PDF has no copy count of its own: the pages of the first copy
        // are kept and drawn again for the others.
        PageList firstCopy;
        PrinterPageSink sink(writer, firstPage, lastPage, copies > 1 ? &firstCopy : nullptr);
        run(sink);
        // Taken out first: the sink records every page it draws.
        const std::vector<ReportPage> firstPages = std::move(firstCopy.pages);
        for (int copy = 1; copy < copies && !m_cancel; ++copy) {
            for (const ReportPage& page : firstPages)
                sink.addPage(ReportPage(page));
        }
        sink.finish();
        pages = sink.printedPages();
    }
    if (pages > 0)
        SafeFileWriter::write(path, pdf.data(), options);
    return pages;
}

bool Report::printTo(QPagedPaintDevice& device, int firstPage, int lastPage, PageSink* record)
{
    if (m_running)
        return false;
    PrinterPageSink sink(device, firstPage, lastPage, record);
    const bool done = run(sink);
    sink.finish();
    return done;
}

} // namespace kv
