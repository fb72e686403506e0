#include "tests/app/ProgramWindows.h"

#include "app/ExclusionCommands.h"
#include "app/LabelPrinting.h"
#include "app/ListPrinting.h"
#include "app/PresentationCommand.h"
#include "app/PrintCommands.h"
#include "app/ProfileCommands.h"
#include "app/SelectionCommands.h"
#include "app/TFAbout.h"
#include "app/TFNastaveni.h"
#include "app/TFPrezentace.h"
#include "app/TFTip.h"
#include "app/TFWait.h"
#include "app/core/Global.h"
#include "app/core/UiLanguage.h"
#include "data/TFExport.h"
#include "data/TFPozn.h"
#include "data/TFVyjmute.h"
#include "selection/TFVyber.h"
#include "tests/app/DemoHome.h"

#include <QApplication>

namespace kvtest
{

ProgramWindows::ProgramWindows(int firms)
{
    kv::global() = kv::GlobalState();
    kv::global().dataHome = demoHome(firms);
    kv::UiLanguage::apply(0); // as the program starts
    if (dm.OpenDatabase().status != kv::TDM::OpenStatus::Opened)
        throw std::runtime_error("demo home does not open");
    main = std::make_unique<kv::TFMain>(&dm, 0);
    selection = std::make_unique<kv::TFVyber>(dm, main.get());
    kv::installSelectionCommands(*main, dm, *selection);
    selection->setReapplyExclusion(kv::installExclusionCommands(*main, dm));
    kv::installProfileCommands(*main, dm);
    kv::installPresentationCommand(*main);
    auto* print = new kv::PrintCommands(*main, dm);
    kv::installListPrinting(*print, dm, *main);
    kv::installLabelPrinting(*print, dm);
    dm.TFirma->setFilter(QString(), false); // the whole table, not the start firm
    main->resize(1000, 700);
    main->show();
    main->showList();
    QApplication::processEvents();
}

ProgramWindows::~ProgramWindows()
{
    selection.reset();
    main.reset();
    kv::global() = kv::GlobalState();
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
    kv::TFAbout about(main.get());
    shown(&about, QStringLiteral("FAbout"));
    kv::TFTip tip(main.get());
    shown(&tip, QStringLiteral("FTip"));
    kv::TFPozn note(&dm, main.get());
    shown(&note, QStringLiteral("FPozn"));
    kv::TFWait wait(main.get());
    shown(&wait, QStringLiteral("FWait"));
    kv::TFExport exportWindow(dm, main.get());
    shown(&exportWindow, QStringLiteral("FExport"));
    kv::TFPrezentace presentation(main.get());
    shown(&presentation, QStringLiteral("FPrezentace"));
}

} // namespace kvtest
