#include "ui/DesktopCommands.h"

#include "ui/ExclusionCommands.h"
#include "ui/LabelPrinting.h"
#include "ui/ListPrinting.h"
#include "ui/MainWindow.h"
#include "ui/PresentationCommand.h"
#include "ui/PrintCommands.h"
#include "ui/ProfileCommands.h"
#include "ui/SelectionCommands.h"
#include "ui/SelectionWindow.h"
#include "ui/ServerWaitHook.h"

namespace kv
{

DesktopCommands::DesktopCommands(MainWindow& window, DataModule& dm)
    : m_serverWait(std::make_unique<ServerWaitHook>()),
      m_vyber(std::make_unique<SelectionWindow>(dm, &window))
{
    installSelectionCommands(window, dm, *m_vyber);
    m_vyber->setReapplyExclusion(installExclusionCommands(window, dm));
    installProfileCommands(window, dm);
    installPresentationCommand(window);
    m_print = new PrintCommands(window, dm);
    installListPrinting(*m_print, dm, window);
    installLabelPrinting(*m_print, dm);
}

DesktopCommands::~DesktopCommands() = default;

} // namespace kv
