#include "reports/Report.h"

#include "core/Error.h"
#include "reports/PrinterPageSink.h"
#include "reports/ReportGenerator.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>

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
    if (m_printer.orientation == QPageLayout::Landscape)
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

bool Report::print()
{
    QPrinter& printer = m_printer.printer();
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        try {
            writePdf(printer.outputFileName(), m_printer.firstPage, m_printer.lastPage, {});
        } catch (const Error& e) {
            // To the print caller a PDF that cannot be written is a report fault.
            if (!e.is(Error::Kind::File))
                throw;
            throw Error::report(e.message());
        }
        return !m_cancel;
    }
    return printTo(printer, m_printer.firstPage, m_printer.lastPage);
}

int Report::writePdf(const QString& path, int firstPage, int lastPage,
                     const SafeFileWriter::Options& options)
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
            QPageLayout(QPageSize(QPageSize::A4), m_printer.orientation, QMarginsF(0, 0, 0, 0)));
        PrinterPageSink sink(writer, firstPage, lastPage, nullptr);
        run(sink);
        sink.finish();
        pages = sink.printedPages();
    }
    if (pages > 0)
        SafeFileWriter::write(path, pdf.data(), options);
    return pages;
}

bool Report::printTo(QPrinter& printer, int firstPage, int lastPage, PageSink* record)
{
    if (m_running)
        return false;
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(m_printer.orientation);
    printer.setCopyCount(qMax(1, m_printer.copies));
    printer.setDocName(title);
    // The range is applied here, page by page; the print system must not
    // apply it a second time.
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
    PrinterPageSink sink(printer, firstPage, lastPage, record);
    const bool done = run(sink);
    sink.finish();
    return done;
}

} // namespace kv
