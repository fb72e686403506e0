#include "ui/LabelPrinting.h"

#include "domain/DataModule.h"
#include "domain/PrintCursorScope.h"
#include "reports/Report.h"
#include "reports/TableCursorSource.h"
#include "ui/LabelPrintSettingsDialog.h"
#include "ui/PrintCommands.h"
#include "ui/PrintPreviewWindow.h"

#include <memory>
#include <optional>

namespace kv
{

void installLabelPrinting(PrintCommands& commands, DataModule& dm)
{
    auto* parent = qobject_cast<QWidget*>(commands.parent());
    // The labels walk TPrn on the current set's filter and sort, so the list
    // and profile windows keep their firm. Every run opens it afresh; it
    // stays open for the preview's printing and goes with the dialog.
    auto scope = std::make_shared<std::optional<PrintCursorScope>>();
    auto* window = new LabelPrintSettingsDialog(
        std::make_unique<TableCursorSource>(*dm.printFirms()),
        [&dm, scope]() {
            scope->reset();
            scope->emplace(dm);
        },
        parent);
    commands.setSettingsWindow(Command::PrintLabels, [window](PrintPreviewWindow& preview, bool) {
        window->setPreview(&preview);
        window->exec();
    });
}

} // namespace kv
