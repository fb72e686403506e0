#pragma once

#include <QAbstractPrintDialog>
#include <utility>

class QPrinter;
class QWidget;

namespace kv
{

class Report;
class ReportPrinterSettings;

// Printer setup of a report: the platform's print dialog on the report's
// printer, copies, orientation and page range. Cancel changes nothing.
class ReportPrintSetup
{
public:
    // True when the user confirmed.
    static bool exec(Report& report, QWidget* parent = nullptr);
    // The page range the dialog offers: 1..page count once the report's pages
    // have been generated completely, else 0..9999.
    static std::pair<int, int> offeredRange(Report& report);
    // Takes the confirmed dialog's choices; all pages become 0/0.
    static void apply(ReportPrinterSettings& settings, const QPrinter& printer,
                      QAbstractPrintDialog::PrintRange range, int fromPage, int toPage);
};

} // namespace kv
