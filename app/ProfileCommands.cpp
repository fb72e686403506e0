#include "app/ProfileCommands.h"

#include "app/Links.h"
#include "app/TFMain.h"
#include "app/TFNastaveni.h"
#include "data/TDM.h"
#include "data/TFPozn.h"
#include "data/TFProfil.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace kv
{

namespace
{

QPointer<TFProfil>& profile()
{
    static QPointer<TFProfil> p;
    return p;
}

void showProfile(TFMain& window, TDM& dm)
{
    TFProfil* p = profile();
    if (!p) {
        p = new TFProfil(&dm, window.menus()->popup(), QString::fromLatin1(links::FirmDetail));
        profile() = p;
        window.addChild(p)->show();
    } else if (auto sub = qobject_cast<QMdiSubWindow*>(p->parentWidget())) {
        window.mdiArea()->setActiveSubWindow(sub);
        p->Refresh();
    }
    window.arrange();
}

} // namespace

TFProfil* profileWindow()
{
    return profile();
}

void installProfileCommands(TFMain& window, TDM& dm)
{
    window.setHandler(Command::ProfileWindow,
                      [&window, &dm](const QString&) { showProfile(window, dm); });
    window.setHandler(Command::Note, [&window, &dm](const QString&) {
        TFPozn editor(&dm, &window);
        editor.exec();
    });
    // One settings window for the whole run, hidden between uses.
    auto settings = new TFNastaveni(&dm, &window);
    window.setHandler(Command::DisplaySettings, [settings](const QString&) { settings->exec(); });
    showProfile(window, dm);
}

} // namespace kv
