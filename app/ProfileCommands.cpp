#include "app/ProfileCommands.h"

#include "app/Links.h"
#include "app/TFMain.h"
#include "app/TFNastaveni.h"
#include "app/TFReklama.h"
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

// The profile's advertisement link: a fresh window for the current firm,
// shown modally and freed. A failure here must not disturb the profile.
void showAdvertisement(TFMain& window, TDM& dm)
{
    try {
        TFReklama advertisement(&dm, &window);
        advertisement.exec();
    } catch (...) {
    }
}

void showProfile(TFMain& window, TDM& dm)
{
    TFProfil* p = profile();
    if (!p) {
        p = new TFProfil(&dm, window.menus()->popup(), QString::fromLatin1(links::FirmDetail));
        profile() = p;
        QObject::connect(p, &TFProfil::advertisementRequested, &window,
                         [&window, &dm]() { showAdvertisement(window, dm); });
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
        if (editor.exec() == QDialog::Accepted)
            window.refreshProfile(); // the profile shows the note just stored
    });
    // One settings window for the whole run, hidden between uses.
    auto settings = new TFNastaveni(&dm, &window);
    window.setHandler(Command::DisplaySettings, [settings](const QString&) { settings->exec(); });
    showProfile(window, dm);
}

} // namespace kv
