#include "ui/PresentationCommand.h"

#include "ui/MainWindow.h"
#include "ui/PresentationWindow.h"

namespace kv
{

void installPresentationCommand(MainWindow& window)
{
    window.setHandler(Command::Presentation, [&window](const QString&) {
        PresentationWindow presentation(&window);
        presentation.exec();
    });
}

} // namespace kv
