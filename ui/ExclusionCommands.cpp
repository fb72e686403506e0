#include "ui/ExclusionCommands.h"

#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "domain/Exclusion.h"
#include "ui/BusyCursor.h"
#include "ui/ExcludedFirmsDialog.h"
#include "ui/ExportDialog.h"
#include "ui/MainWindow.h"
#include "ui/WaitWindow.h"

#include <QMessageBox>
#include <QPointer>
#include <memory>

namespace kv
{

namespace
{

void showError(QWidget* parent, const std::exception& e)
{
    QMessageBox box(QMessageBox::Critical, loadStr(17), QString::fromUtf8(e.what()),
                    QMessageBox::Ok, parent);
    box.exec();
}

void warn(QWidget* parent, int textId)
{
    QMessageBox box(QMessageBox::Information, loadStr(119),
                    loadStr(textId).replace(QLatin1String("\r\n"), QLatin1String("\n")),
                    QMessageBox::Ok, parent);
    box.exec();
}

void excludeCurrent(MainWindow& window, DataModule& dm, Exclusion& exclusion)
{
    if (!dm.ready())
        return;
    Exclusion::Result result = Exclusion::Result::Excluded;
    try {
        BusyCursor busy;
        result = exclusion.excludeCurrent();
    } catch (const std::exception& e) {
        showError(&window, e);
        return;
    }
    if (result == Exclusion::Result::Refused)
        warn(&window, 120);
    window.refreshProfile();
}

void exportSet(MainWindow& window, DataModule& dm)
{
    if (!dm.ready())
        return;
    ExportDialog dialog(dm, &window);
    if (dialog.applyLimit())
        warn(&window, 218);
    dialog.exec();
}

} // namespace

std::function<void()> installExclusionCommands(MainWindow& window, DataModule& dm)
{
    auto exclusion = std::make_shared<Exclusion>(dm);
    exclusion->setStatusSink([&window](const QString& text) { window.setStatusText(1, text); });
    auto wait = std::make_shared<QPointer<WaitWindow>>();
    exclusion->setWaitWindow(
        [&window, wait]() {
            *wait = new WaitWindow(&window);
            (*wait)->showNow();
        },
        [wait]() { delete wait->data(); });

    auto vyjmute = new ExcludedFirmsDialog(*exclusion, &window);
    vyjmute->hide();

    window.setHandler(Command::Exclude, [&window, &dm, exclusion](const QString&) {
        excludeCurrent(window, dm, *exclusion);
    });
    window.setHandler(Command::ShowExcluded,
                      [vyjmute, exclusion](const QString&) { vyjmute->exec(); });
    window.setHandler(Command::Export, [&window, &dm](const QString&) { exportSet(window, dm); });
    // The count shown stays (it may outlive the emptied list until the next
    // OK); its words follow the language.
    QObject::connect(&window, &MainWindow::languageChanged, &window, [&window]() {
        const QString shown = window.statusText(1);
        if (!shown.isEmpty())
            window.setStatusText(
                1, loadStr(220) + shown.mid(shown.lastIndexOf(QLatin1Char(':')) + 1).trimmed());
    });
    return [exclusion]() { exclusion->reapplyExclusion(); };
}

} // namespace kv
