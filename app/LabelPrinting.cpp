#include "app/LabelPrinting.h"

#include "app/PrintCommands.h"
#include "data/TDM.h"
#include "printing/Report.h"
#include "printing/TFPreview.h"
#include "printing/TFSetLabel.h"
#include "printing/TableCursorSource.h"

namespace kv
{

void installLabelPrinting(PrintCommands& commands, TDM& dm)
{
    auto* parent = qobject_cast<QWidget*>(commands.parent());
    // The labels walk TPrn on the current set's filter and sort, so the list
    // and profile windows keep their firm.
    auto* window = new TFSetLabel(
        std::make_unique<TableCursorSource>(*dm.TPrn),
        [&dm]() {
            dm.closePrn();
            dm.openPrn();
        },
        parent);
    commands.setSettingsWindow(Command::PrintLabels, [window](TFPreview& preview, bool) {
        window->setPreview(&preview);
        window->exec();
    });
}

} // namespace kv
