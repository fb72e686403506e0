#include "ui/LabelPrinting.h"

#include "domain/DataModule.h"
#include "reports/Report.h"
#include "reports/TableCursorSource.h"
#include "ui/LabelPrintSettingsDialog.h"
#include "ui/PrintCommands.h"
#include "ui/PrintPreviewWindow.h"

namespace kv
{

void installLabelPrinting(PrintCommands& commands, DataModule& dm)
{
    auto* parent = qobject_cast<QWidget*>(commands.parent());
    // The labels walk TPrn on the current set's filter and sort, so the list
    // and profile windows keep their firm.
    auto* window = new LabelPrintSettingsDialog(
        std::make_unique<TableCursorSource>(*dm.printFirms()),
        [&dm]() {
            dm.closePrn();
            dm.openPrn();
        },
        parent);
    commands.setSettingsWindow(Command::PrintLabels, [window](PrintPreviewWindow& preview, bool) {
        window->setPreview(&preview);
        window->exec();
    });
}

} // namespace kv
