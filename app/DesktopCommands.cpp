#include "app/DesktopCommands.h"

#include "app/ExclusionCommands.h"
#include "app/LabelPrinting.h"
#include "app/ListPrinting.h"
#include "app/PresentationCommand.h"
#include "app/PrintCommands.h"
#include "app/ProfileCommands.h"
#include "app/SelectionCommands.h"
#include "app/TFMain.h"
#include "selection/TFVyber.h"

namespace kv
{

DesktopCommands::DesktopCommands(TFMain& window, TDM& dm)
    : m_vyber(std::make_unique<TFVyber>(dm, &window))
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
