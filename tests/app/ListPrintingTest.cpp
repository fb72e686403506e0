// List and profile printing on a generated data home: the settings windows
// opened by the print commands, the sets they print, and the headless
// `kvelta print list|profiles`.
#include "ui/ListPrinting.h"
#include "cli/PrintCommand.h"
#include "cli/SelectionFileCommands.h"
#include "core/Settings.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionState.h"
#include "reports/Report.h"
#include "tests/reports/ReportFixture.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DialogClicker.h"
#include "ui/ListPrintSettingsDialog.h"
#include "ui/MainWindow.h"
#include "ui/PrintCommands.h"
#include "ui/PrintPreviewWindow.h"
#include "ui/ProfilePrintSettingsDialog.h"

#include "tests/support/PdfProbe.h"
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kv;
using kvtest::pdfPages;
using kvtest::pdfText;

namespace
{

struct CliRun {
    int code = 0;
    QString out, err;
};

CliRun print(const QStringList& args)
{
    CliRun r;
    QTextStream out(&r.out), err(&r.err);
    r.code = printCommand(args, out, err);
    return r;
}

constexpr int kFirms = 20;

class ListPrinting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings() = Settings();
        settings().dataHome = kvtest::demoHome(kFirms);
        ASSERT_EQ(dm.openDatabase().status, DataModule::OpenStatus::Opened);
        window = std::make_unique<MainWindow>(&dm, 0);
        commands = new PrintCommands(*window, dm);
        installListPrinting(*commands, dm, *window);
        list = window->findChild<ListPrintSettingsDialog*>("FSetSeznam");
        profile = window->findChild<ProfilePrintSettingsDialog*>("FSetProfil");
    }
    void TearDown() override
    {
        window.reset();
        settings() = Settings();
    }

    // Presses Preview/Print in the settings window the command opens, keeps
    // what the preview showed and closes the preview.
    void previewThrough(const QString& command, std::function<void(QDialog*)> choose = {})
    {
        pages.clear();
        kvtest::DialogClicker::onNext([this, choose](QWidget* w) {
            auto dialog = qobject_cast<QDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            if (choose)
                choose(dialog);
            // Events run while the pages are generated: wait for the last one.
            auto poll = new QTimer(dialog);
            QObject::connect(poll, &QTimer::timeout, [this, poll] {
                PrintPreviewWindow* preview = commands->preview();
                Report* report = preview->report();
                if (!report || !report->pageStore().isFinished())
                    return;
                poll->stop();
                for (int n = 1; n <= report->pageStore().pageCount(); ++n)
                    pages.push_back(*report->pageStore().page(n));
                preview->close();
            });
            poll->start(5);
            dialog->findChild<QPushButton*>("btnPreview")->click();
        });
        window->menus()->item(command)->trigger();
    }
    int count(const QString& band)
    {
        int n = 0;
        for (const ReportPage& p : pages)
            n += int(kvtest::opsOf(p, DrawOp::Type::Band, band).size());
        return n;
    }

    DataModule dm;
    std::unique_ptr<MainWindow> window;
    PrintCommands* commands = nullptr;
    ListPrintSettingsDialog* list = nullptr;
    ProfilePrintSettingsDialog* profile = nullptr;
    std::vector<ReportPage> pages;
};

TEST_F(ListPrinting, SettingsWindowsAsDesigned)
{
    ASSERT_NE(list, nullptr);
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(list->size(), QSize(292, 190));
    EXPECT_EQ(profile->size(), QSize(379, 146));
    EXPECT_TRUE(list->box(ListPrintSettingsDialog::Nazevadr)->isChecked());
    EXPECT_FALSE(list->box(ListPrintSettingsDialog::Nazevadr)->isEnabled());
    for (auto b : {ListPrintSettingsDialog::Tel, ListPrintSettingsDialog::Fax,
                   ListPrintSettingsDialog::Email, ListPrintSettingsDialog::WWW,
                   ListPrintSettingsDialog::Pozn})
        EXPECT_FALSE(list->box(b)->isChecked());
    EXPECT_EQ(list->windowTitle(), "Tisk seznamu firem");
    EXPECT_EQ(list->previewButton()->text(), "&Náhled/Tisk");
    EXPECT_EQ(list->closeButton()->text(), "&Zavři okno");
    EXPECT_EQ(list->report(), nullptr); // the report form exists only while shown
}

TEST_F(ListPrinting, ProfileChoiceIsRebuiltAndPreselectedAtEveryShowing)
{
    for (bool fromPopup : {true, false, true}) {
        profile->setOpenedFromPopup(fromPopup);
        profile->show();
        const auto items = profile->group()->findChildren<QRadioButton*>();
        ASSERT_EQ(items.size(), 2);
        EXPECT_TRUE(items[0]->isVisible());
        EXPECT_TRUE(items[1]->isVisible());
        EXPECT_EQ(items[0]->text(), " profily všech vybraných firem");
        EXPECT_EQ(items[1]->isChecked(), fromPopup);
        EXPECT_EQ(profile->choice(), fromPopup ? 1 : 0);
        EXPECT_EQ(profile->group()->title(), " Tisknout ");
        EXPECT_NE(profile->report(), nullptr);
        profile->hide();
        EXPECT_EQ(profile->report(), nullptr);
    }
}

TEST_F(ListPrinting, ListCoversTheCurrentSetWithTheChosenItems)
{
    dm.firms()->setFilter(QString(), false);
    const int firms = dm.firms()->recordCount();
    ASSERT_EQ(firms, kFirms);
    dm.firms()->setPosition(5);
    list->box(ListPrintSettingsDialog::Tel)->setChecked(true);
    previewThrough("MITSeznam");
    EXPECT_EQ(count("Detail"), firms);
    ASSERT_FALSE(pages.empty());
    EXPECT_TRUE(kvtest::textsOf(pages[0], "Detail").filter("Telefon      :  ").size() > 0);
    EXPECT_EQ(dm.firms()->position(), 5); // printing never moves the current firm
    EXPECT_FALSE(list->isVisible());      // closed with the preview
    EXPECT_EQ(list->report(), nullptr);
    EXPECT_TRUE(list->box(ListPrintSettingsDialog::Tel)->isChecked()); // kept for the next time
}

TEST_F(ListPrinting, PopupPrintsTheCurrentFirmAloneMenuEveryFirm)
{
    dm.firms()->setFilter(QString(), false); // no selection: every firm
    dm.firms()->setPosition(3);
    const QString current = dm.firms()->text("nazev");
    int choice = -1;
    previewThrough("PITiskprofil", [&](QDialog*) { choice = profile->choice(); });
    EXPECT_EQ(choice, 1);
    EXPECT_EQ(count("bMain"), 1);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(kvtest::textsOf(pages[0], "bMain").contains(current));

    previewThrough("MITProfil", [&](QDialog*) { choice = profile->choice(); });
    EXPECT_EQ(choice, 0);
    EXPECT_EQ(count("bMain"), kFirms);
    EXPECT_GE(int(pages.size()), kFirms);
    EXPECT_FALSE(dm.printFirms()->isOpen()); // closing the window closes the print cursors
}

TEST_F(ListPrinting, CloseButtonClosesTheWindowWithoutPrinting)
{
    kvtest::DialogClicker::onNext(
        [](QWidget* w) { w->findChild<QPushButton*>("btnZrusit")->click(); });
    window->menus()->item("MITSeznam")->trigger();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(commands->preview()->report(), nullptr);
}

TEST_F(ListPrinting, HeadlessListAndProfilesWritePdfs)
{
    QTemporaryDir dir;
    const QString home = kvtest::demoHome(kFirms);
    const CliRun l = print({"list", "--home", home, "--items", "tel,fax,email,www,pozn", "-o",
                            dir.filePath("list.pdf")});
    ASSERT_EQ(l.code, 0) << l.err.toStdString();
    EXPECT_GE(pdfPages(dir.filePath("list.pdf")), 1);
    const QString text = pdfText(dir.filePath("list.pdf"), true);
    EXPECT_TRUE(text.contains("Strana: 1"));
    EXPECT_TRUE(text.contains("Kvelta 2001"));
    EXPECT_TRUE(text.contains("Telefon"));

    const CliRun p = print({"profiles", "--home", home, "-o", dir.filePath("profiles.pdf")});
    ASSERT_EQ(p.code, 0) << p.err.toStdString();
    EXPECT_GE(pdfPages(dir.filePath("profiles.pdf")), kFirms);
    EXPECT_TRUE(pdfText(dir.filePath("profiles.pdf"), true).contains("IČO"));
}

TEST_F(ListPrinting, HeadlessProfilesFollowASavedSelection)
{
    QTemporaryDir dir;
    const QString home = kvtest::demoHome(kFirms);
    SelectionState web;
    web.clear();
    web.cbWWW = true; // firms with a web address
    saveSelection(web, dir.filePath("web.kvv"));
    QString counted, unused;
    QTextStream countOut(&counted), countErr(&unused);
    ASSERT_EQ(countCommand({"--home", home, dir.filePath("web.kvv")}, countOut, countErr), 0);
    countOut.flush();
    const int firms = counted.trimmed().toInt();
    ASSERT_GT(firms, 0);
    ASSERT_LT(firms, kFirms);
    const CliRun p =
        print({"profiles", "--home", home, dir.filePath("web.kvv"), "-o", dir.filePath("web.pdf")});
    ASSERT_EQ(p.code, 0) << p.err.toStdString();
    EXPECT_EQ(pdfPages(dir.filePath("web.pdf")), firms); // one page a firm, no notes here
}

TEST_F(ListPrinting, HeadlessRefusesBadArguments)
{
    QTemporaryDir dir;
    const QString home = kvtest::demoHome(kFirms);
    EXPECT_EQ(
        print({"list", "--home", home, "--items", "tel,logo", "-o", dir.filePath("a.pdf")}).code,
        2);
    EXPECT_EQ(print({"list", "--home", home}).code, 2);
    EXPECT_EQ(print({"posters", "-o", dir.filePath("a.pdf")}).code, 2);
    EXPECT_EQ(print({}).code, 2);
    EXPECT_EQ(print({"profiles", "--home", dir.path(), "-o", dir.filePath("a.pdf")}).code, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.pdf")));
    // An output folder that does not exist: nothing written, the failure said.
    const CliRun r = print({"list", "--home", home, "-o", dir.filePath("no/such/dir/a.pdf")});
    EXPECT_EQ(r.code, 5);
    EXPECT_FALSE(r.err.isEmpty());
}

} // namespace
