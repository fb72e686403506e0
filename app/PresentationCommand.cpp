#include "app/PresentationCommand.h"

#include "app/TFMain.h"
#include "app/TFPrezentace.h"

namespace kv
{

void installPresentationCommand(TFMain& window)
{
    window.setHandler(Command::Presentation, [&window](const QString&) {
        TFPrezentace presentation(&window);
        presentation.exec();
    });
}

} // namespace kv
