#include "ui/ProfileCommands.h"

#include "domain/DataModule.h"
#include "domain/Links.h"
#include "ui/AdvertisementWindow.h"
#include "ui/DisplaySettingsDialog.h"
#include "ui/MainWindow.h"
#include "ui/NoteDialog.h"
#include "ui/ProfileWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace kv
{

namespace
{

// The profile made last, for profileWindow().
QPointer<ProfileWindow>& profile()
{
    static QPointer<ProfileWindow> p;
    return p;
}

// The profile's advertisement link: a fresh window for the current firm,
// shown modally and freed. A failure here must not disturb the profile.
void showAdvertisement(MainWindow& window, DataModule& dm)
{
    try {
        AdvertisementWindow advertisement(&dm, &window);
        advertisement.exec();
    } catch (...) {
    }
}

void showProfile(MainWindow& window, DataModule& dm)
{
    // Each main window has its own profile (two programs may share a process in tests).
    ProfileWindow* p = profileOf(window);
    if (!p) {
        p = new ProfileWindow(&dm, window.menus()->popup(), QString::fromLatin1(links::FirmDetail));
        profile() = p;
        QObject::connect(p, &ProfileWindow::advertisementRequested, &window,
                         [&window, &dm]() { showAdvertisement(window, dm); });
        window.addChild(p)->show();
    } else if (auto sub = qobject_cast<QMdiSubWindow*>(p->parentWidget())) {
        window.mdiArea()->setActiveSubWindow(sub);
        p->refresh();
    }
    window.arrange();
}

} // namespace

ProfileWindow* profileWindow()
{
    return profile();
}

ProfileWindow* profileOf(QWidget& window)
{
    return window.findChild<ProfileWindow*>(QStringLiteral("FProfil"));
}

void installProfileCommands(MainWindow& window, DataModule& dm)
{
    window.setHandler(Command::ProfileWindow,
                      [&window, &dm](const QString&) { showProfile(window, dm); });
    window.setHandler(Command::Note, [&window, &dm](const QString&) {
        NoteDialog editor(&dm, &window);
        if (editor.exec() == QDialog::Accepted)
            window.refreshProfile(); // the profile shows the note just stored
    });
    // One settings window for the whole run, hidden between uses.
    auto settings = new DisplaySettingsDialog(&dm, &window);
    window.setHandler(Command::DisplaySettings, [settings](const QString&) { settings->exec(); });
    showProfile(window, dm);
}

} // namespace kv
