#include "app/ListPrinting.h"

#include "app/PrintCommands.h"
#include "printing/TFSetProfil.h"
#include "printing/TFSetSeznam.h"

namespace kv
{

void installListPrinting(PrintCommands& commands, TDM& dm, QWidget& window)
{
    auto list = new TFSetSeznam(dm, &window);
    auto profile = new TFSetProfil(dm, &window);
    commands.setSettingsWindow(Command::PrintList, [list](TFPreview& preview, bool) {
        list->setPreview(&preview);
        list->exec();
    });
    commands.setSettingsWindow(Command::PrintProfiles,
                               [profile](TFPreview& preview, bool currentOnly) {
                                   profile->setPreview(&preview);
                                   profile->setOpenedFromPopup(currentOnly);
                                   profile->exec();
                               });
}

} // namespace kv
