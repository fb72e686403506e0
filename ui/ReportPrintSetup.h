#pragma once

#include <QAbstractPrintDialog>
#include <utility>

class QPrinter;
class QWidget;

namespace kv
{

class Report;

// Printer setup of a report: the platform's print dialog on the report's
// printer (ReportPrinter), copies, orientation and page range. Cancel
// changes nothing.
class ReportPrintSetup
{
public:
    // True when the user confirmed.
    static bool exec(Report& report, QWidget* parent = nullptr);
    // The page range the dialog offers: 1..page count once the report's pages
    // have been generated completely, else 0..9999.
    static std::pair<int, int> offeredRange(Report& report);
    // Takes the confirmed dialog's choices into the report's printer choice
    // and its orientation; all pages become 0/0.
    static void apply(Report& report, const QPrinter& printer,
                      QAbstractPrintDialog::PrintRange range, int fromPage, int toPage);
};

} // namespace kv
