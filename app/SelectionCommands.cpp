#include "app/SelectionCommands.h"

#include "app/TFMain.h"
#include "app/TFTip.h"
#include "app/core/Global.h"
#include "data/TDM.h"
#include "selection/TFVyber.h"
#include "selection/VyberFiles.h"

#include <QApplication>
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
void emptyExclusions(TFMain&, TDM& dm)
{
    dm.ExcludedFirms().clear();
}

void openSelection(TFMain& window, TDM& dm, TFVyber& vyber, bool fresh)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (fresh)
        vyber.ClearAll(); // takes the snapshot first, so Cancel brings the old criteria back
    else
        vyber.TakeSnapshot();
    emptyExclusions(window, dm);
    QApplication::restoreOverrideCursor();
    vyber.exec();
}

} // namespace

void installSelectionCommands(TFMain& window, TDM& dm, TFVyber& vyber)
{
    QObject::connect(
        &vyber, &TFVyber::statusTextChanged, &window,
        [&window](int panel, const QString& text) { window.setStatusText(panel, text); });
    QObject::connect(&vyber, &TFVyber::tipRequested, &vyber, [&vyber]() {
        TFTip tip(&vyber);
        tip.exec();
    });
    QObject::connect(&vyber, &TFVyber::helpRequested, &window,
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
    window.setHandler(Command::SaveSelection, [&window, &vyber](const QString&) {
        const QString path = askSelectionFile(&window, true);
        if (!path.isEmpty())
            saveSelectionFile(vyber, path);
    });
}

} // namespace kv
