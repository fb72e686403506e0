#include "tests/support/ProgramWindows.h"

#include "core/Settings.h"
#include "core/UiLanguage.h"
#include "tests/support/DemoHome.h"
#include "ui/AboutDialog.h"
#include "ui/DisplaySettingsDialog.h"
#include "ui/ExcludedFirmsDialog.h"
#include "ui/ExclusionCommands.h"
#include "ui/ExportDialog.h"
#include "ui/LabelPrinting.h"
#include "ui/ListPrinting.h"
#include "ui/NoteDialog.h"
#include "ui/PresentationCommand.h"
#include "ui/PresentationWindow.h"
#include "ui/PrintCommands.h"
#include "ui/ProfileCommands.h"
#include "ui/SelectionCommands.h"
#include "ui/SelectionTipDialog.h"
#include "ui/SelectionWindow.h"
#include "ui/WaitWindow.h"

#include <QApplication>

namespace kvtest
{

ProgramWindows::ProgramWindows(int firms)
{
    kv::settings() = kv::Settings();
    kv::settings().dataHome = demoHome(firms);
    kv::UiLanguage::apply(0); // as the program starts
    if (dm.openDatabase().status != kv::DataModule::OpenStatus::Opened)
        throw std::runtime_error("demo home does not open");
    main = std::make_unique<kv::MainWindow>(&dm, 0);
    selection = std::make_unique<kv::SelectionWindow>(dm, main.get());
    kv::installSelectionCommands(*main, dm, *selection);
    selection->setReapplyExclusion(kv::installExclusionCommands(*main, dm));
    kv::installProfileCommands(*main, dm);
    kv::installPresentationCommand(*main);
    auto* print = new kv::PrintCommands(*main, dm);
    kv::installListPrinting(*print, dm, *main);
    kv::installLabelPrinting(*print, dm);
    dm.firms()->setFilter(QString(), false); // the whole table, not the start firm
    main->resize(1000, 700);
    main->show();
    main->showList();
    QApplication::processEvents();
}

ProgramWindows::~ProgramWindows()
{
    selection.reset();
    main.reset();
    kv::settings() = kv::Settings();
}

void ProgramWindows::forEachWindow(
    const std::function<void(QWidget* window, const QString& name)>& visit)
{
    visit(main.get(), QStringLiteral("FMain"));
    const auto shown = [&visit](QWidget* w, const QString& name) {
        if (!w)
            return;
        w->show();
        QApplication::processEvents();
        visit(w, name);
        w->hide();
    };
    shown(selection.get(), QStringLiteral("FVyber"));
    for (const char* name : {"FNastaveni", "FVyjmute", "FSetSeznam", "FSetProfil", "FSetLabel"})
        shown(main->findChild<QWidget*>(QLatin1String(name)), QLatin1String(name));
    // The detail and industry search windows live while the selection does.
    selection->show();
    for (QDialog* d : selection->findChildren<QDialog*>())
        shown(d, d->objectName());
    selection->hide();
    kv::AboutDialog about(main.get());
    shown(&about, QStringLiteral("FAbout"));
    kv::SelectionTipDialog tip(main.get());
    shown(&tip, QStringLiteral("FTip"));
    kv::NoteDialog note(&dm, main.get());
    shown(&note, QStringLiteral("FPozn"));
    kv::WaitWindow wait(main.get());
    shown(&wait, QStringLiteral("FWait"));
    kv::ExportDialog exportWindow(dm, main.get());
    shown(&exportWindow, QStringLiteral("FExport"));
    kv::PresentationWindow presentation(main.get());
    shown(&presentation, QStringLiteral("FPrezentace"));
}

} // namespace kvtest
