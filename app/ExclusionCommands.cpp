#include "app/ExclusionCommands.h"

#include "app/TFMain.h"
#include "app/TFWait.h"
#include "app/core/StringTable.h"
#include "data/Exclusion.h"
#include "data/TDM.h"
#include "data/TFExport.h"
#include "data/TFVyjmute.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <memory>

namespace kv
{

namespace
{

void showError(QWidget* parent, const std::exception& e)
{
    QMessageBox box(QMessageBox::Critical, LoadStr(17), QString::fromUtf8(e.what()),
                    QMessageBox::Ok, parent);
    box.exec();
}

void warn(QWidget* parent, int textId)
{
    QMessageBox box(QMessageBox::Information, LoadStr(119),
                    LoadStr(textId).replace(QLatin1String("\r\n"), QLatin1String("\n")),
                    QMessageBox::Ok, parent);
    box.exec();
}

void excludeCurrent(TFMain& window, TDM& dm, Exclusion& exclusion)
{
    if (!dm.Ready())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Exclusion::Result result = Exclusion::Result::Excluded;
    try {
        result = exclusion.ExcludeCurrent();
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        showError(&window, e);
        return;
    }
    QApplication::restoreOverrideCursor();
    if (result == Exclusion::Result::Refused)
        warn(&window, 120);
    window.refreshProfile();
}

void exportSet(TFMain& window, TDM& dm)
{
    if (!dm.Ready())
        return;
    TFExport dialog(dm, &window);
    if (dialog.applyLimit())
        warn(&window, 218);
    dialog.exec();
}

} // namespace

std::function<void()> installExclusionCommands(TFMain& window, TDM& dm)
{
    auto exclusion = std::make_shared<Exclusion>(dm);
    exclusion->setStatusSink([&window](const QString& text) { window.setStatusText(1, text); });
    auto wait = std::make_shared<QPointer<TFWait>>();
    exclusion->setWaitWindow(
        [&window, wait]() {
            *wait = new TFWait(&window);
            (*wait)->showNow();
        },
        [wait]() { delete wait->data(); });

    auto vyjmute = new TFVyjmute(*exclusion, &window);
    vyjmute->hide();

    window.setHandler(Command::Exclude, [&window, &dm, exclusion](const QString&) {
        excludeCurrent(window, dm, *exclusion);
    });
    window.setHandler(Command::ShowExcluded,
                      [vyjmute, exclusion](const QString&) { vyjmute->exec(); });
    window.setHandler(Command::Export, [&window, &dm](const QString&) { exportSet(window, dm); });
    // The count shown stays (it may outlive the emptied list until the next
    // OK); its words follow the language.
    QObject::connect(&window, &TFMain::languageChanged, &window, [&window]() {
        const QString shown = window.statusText(1);
        if (!shown.isEmpty())
            window.setStatusText(
                1, LoadStr(220) + shown.mid(shown.lastIndexOf(QLatin1Char(':')) + 1).trimmed());
    });
    return [exclusion]() { exclusion->ReapplyExclusion(); };
}

} // namespace kv
