#pragma once

#include <QPageLayout>
#include <memory>

class QPrinter;

namespace kv
{

// A report's own printer choice: the printer, copies, orientation and the
// page range (0/0 meaning all pages). The printer object is made on first use
// so that a report that is only previewed never talks to the print system.
class ReportPrinterSettings
{
public:
    ReportPrinterSettings();
    ~ReportPrinterSettings();

    QPrinter& printer();
    int copies = 1;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    int firstPage = 0;
    int lastPage = 0;

private:
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace kv
