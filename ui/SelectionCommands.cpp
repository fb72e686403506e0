#include "ui/SelectionCommands.h"

#include "core/Settings.h"
#include "domain/DataModule.h"
#include "ui/BusyCursor.h"
#include "ui/MainWindow.h"
#include "ui/SelectionFileDialogs.h"
#include "ui/SelectionServerActions.h"
#include "ui/SelectionTipDialog.h"
#include "ui/SelectionWindow.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <memory>

namespace kv
{

namespace
{

// Opening the selection window, and loading a selection, start from the
// whole company set: the exclusion list is emptied.
// The exclusion list empties, but its condition stays in the filter (and its
// count in the status line) until the next OK installs a new filter.
void emptyExclusions(MainWindow&, DataModule& dm)
{
    dm.excludedFirms().clear();
}

void openSelection(MainWindow& window, DataModule& dm, SelectionWindow& vyber, bool fresh)
{
    {
        BusyCursor busy;
        if (fresh)
            vyber.clearAll(); // takes the snapshot first, so Cancel brings the old criteria back
        else
            vyber.takeSnapshot();
        emptyExclusions(window, dm);
    }
    vyber.exec();
}

} // namespace

void installSelectionCommands(MainWindow& window, DataModule& dm, SelectionWindow& vyber)
{
    QObject::connect(
        &vyber, &SelectionWindow::statusTextChanged, &window,
        [&window](int panel, const QString& text) { window.setStatusText(panel, text); });
    QObject::connect(&vyber, &SelectionWindow::tipRequested, &vyber, [&vyber]() {
        SelectionTipDialog tip(&vyber);
        tip.exec();
    });
    QObject::connect(&vyber, &SelectionWindow::helpRequested, &window,
                     [&window](const QString& topic) { window.showHelp(topic); });

    window.setHandler(Command::NewSelection, [&window, &dm, &vyber](const QString&) {
        openSelection(window, dm, vyber, true);
    });
    window.setHandler(Command::EditSelection, [&window, &dm, &vyber](const QString&) {
        openSelection(window, dm, vyber, false);
    });
    window.setHandler(Command::LoadSelection, [&window, &dm, &vyber](const QString&) {
        const QString path = askSelectionFile(&window, false);
        if (path.isEmpty())
            return;
        emptyExclusions(window, dm);
        loadSelectionFile(vyber, path);
    });
    // A selection from the server is installed as one from a file is.
    window.setHandler(Command::LoadServerSelection, [&window, &dm, &vyber](const QString&) {
        if (!loadSelectionFromServer(vyber, &window))
            return;
        emptyExclusions(window, dm);
        vyber.applySelection();
    });
    window.setHandler(Command::SaveServerSelection,
                      [&window, &vyber](const QString&) { saveSelectionToServer(vyber, &window); });
    // Shown only while a server is set; asked each time the menu opens.
    const auto showServerItems = [&window]() {
        for (const char* name : {"MINacistServer", "MIUlozitServer"})
            if (QAction* item = window.menus()->item(QLatin1String(name)))
                item->setVisible(hasSelectionServer());
    };
    showServerItems();
    if (QAction* menu = window.menus()->item(QStringLiteral("MIVyber")); menu && menu->menu())
        QObject::connect(menu->menu(), &QMenu::aboutToShow, &window, showServerItems);
    window.setHandler(Command::SaveSelection, [&window, &vyber](const QString&) {
        const QString path = askSelectionFile(&window, true);
        if (!path.isEmpty())
            saveSelectionFile(vyber, path);
    });
}

} // namespace kv
