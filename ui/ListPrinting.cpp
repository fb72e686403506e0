#include "ui/ListPrinting.h"

#include "ui/ListPrintSettingsDialog.h"
#include "ui/PrintCommands.h"
#include "ui/ProfilePrintSettingsDialog.h"

namespace kv
{

void installListPrinting(PrintCommands& commands, DataModule& dm, QWidget& window)
{
    auto list = new ListPrintSettingsDialog(dm, &window);
    auto profile = new ProfilePrintSettingsDialog(dm, &window);
    commands.setSettingsWindow(Command::PrintList, [list](PrintPreviewWindow& preview, bool) {
        list->setPreview(&preview);
        list->exec();
    });
    commands.setSettingsWindow(Command::PrintProfiles,
                               [profile](PrintPreviewWindow& preview, bool currentOnly) {
                                   profile->setPreview(&preview);
                                   profile->setOpenedFromPopup(currentOnly);
                                   profile->exec();
                               });
}

} // namespace kv
