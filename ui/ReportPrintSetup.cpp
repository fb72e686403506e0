#include "ui/ReportPrintSetup.h"

#include "reports/Report.h"
#include "ui/ReportPrinter.h"

#include <QPrintDialog>
#include <QPrinter>

namespace kv
{

std::pair<int, int> ReportPrintSetup::offeredRange(Report& report)
{
    const PageStore& store = report.pageStore();
    if (!report.isGenerating() && store.isFinished() && store.pageCount() > 0)
        return {1, store.pageCount()};
    return {0, 9999};
}

void ReportPrintSetup::apply(Report& report, const QPrinter& printer,
                             QAbstractPrintDialog::PrintRange range, int fromPage, int toPage)
{
    ReportPrinter& settings = ReportPrinter::of(report);
    settings.copies = qMax(1, printer.copyCount());
    report.orientation = printer.pageLayout().orientation();
    if (range == QAbstractPrintDialog::PageRange && fromPage > 0) {
        settings.firstPage = fromPage;
        settings.lastPage = qMax(fromPage, toPage);
    } else {
        settings.firstPage = 0;
        settings.lastPage = 0;
    }
}

bool ReportPrintSetup::exec(Report& report, QWidget* parent)
{
    ReportPrinter& settings = ReportPrinter::of(report);
    QPrinter& printer = settings.printer();
    printer.setCopyCount(settings.copies);
    printer.setPageOrientation(report.orientation);
    const auto [min, max] = offeredRange(report);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);

    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setMinMax(min, max);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    apply(report, printer, dialog.printRange(), printer.fromPage(), printer.toPage());
    return true;
}

} // namespace kv
