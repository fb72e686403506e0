#include "reports/ReportPrinterSettings.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>

namespace kv
{

ReportPrinterSettings::ReportPrinterSettings() = default;
ReportPrinterSettings::~ReportPrinterSettings() = default;

QPrinter& ReportPrinterSettings::printer()
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

} // namespace kv
