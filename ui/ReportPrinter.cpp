#include "ui/ReportPrinter.h"

#include "core/Error.h"
#include "reports/Report.h"

#include "core/Error.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>

namespace kv
{

ReportPrinter::ReportPrinter(Report& report) : QObject(&report), m_report(report)
{
    setObjectName(QStringLiteral("reportPrinter"));
}

ReportPrinter::~ReportPrinter() = default;

ReportPrinter& ReportPrinter::of(Report& report)
{
    if (auto* existing = report.findChild<ReportPrinter*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new ReportPrinter(report);
}

QPrinter& ReportPrinter::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Without any installed printer the job can still go to a PDF file.
        if (QPrinterInfo::defaultPrinter().isNull() &&
            QPrinterInfo::availablePrinters().isEmpty()) {
            m_printer->setOutputFormat(QPrinter::PdfFormat);
            m_printer->setOutputFileName(QDir::home().filePath(QStringLiteral("kvelta.pdf")));
        }
    }
    return *m_printer;
}

bool ReportPrinter::print()
{
    QPrinter& chosen = printer();
    if (chosen.outputFormat() == QPrinter::PdfFormat && !chosen.outputFileName().isEmpty()) {
        try {
            m_report.writePdf(chosen.outputFileName(), firstPage, lastPage, {}, qMax(1, copies));
        } catch (const Error& e) {
            if (!e.is(Error::Kind::File))
                throw;
            throw Error::report(e.message());
        }
        return !m_report.cancelRequested();
    }
    return printTo(m_report, chosen, firstPage, lastPage, copies);
}

bool ReportPrinter::printTo(Report& report, QPrinter& printer, int firstPage, int lastPage,
                            int copyCount, PageSink* record)
{
    if (report.isGenerating())
        return false;
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(report.orientation);
    printer.setCopyCount(qMax(1, copyCount));
    printer.setDocName(report.title);
    // The range is applied by the report, page by page; the print system
    // must not apply it a second time.
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
    return report.printTo(printer, firstPage, lastPage, record);
}

} // namespace kv
