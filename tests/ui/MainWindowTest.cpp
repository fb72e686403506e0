// The main window on a generated data home: menus and texts, the language
// switch, navigator and sort, arrangement, the list window, closing.
#include "ui/MainWindow.h"
#include "core/Settings.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DialogClicker.h"
#include "tests/support/TestHome.h"
#include "ui/FirmListWindow.h"
#include "ui/HelpWindow.h"
#include <QTextBrowser>

#include <QAction>
#include <QCollator>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace
{

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kv::settings() = kv::Settings();
        kv::settings().dataHome = kvtest::demoHome(250);
        ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
        window = std::make_unique<kv::MainWindow>(&dm, 0);
        window->resize(1000, 700);
        window->show();
        dm.firms()->setFilter(QString(), false); // the whole table
    }
    void TearDown() override
    {
        window.reset();
        kv::settings() = kv::Settings();
    }
    QStringList texts(const QList<QAction*>& actions)
    {
        QStringList out;
        for (QAction* a : actions)
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }
    // The captions as shown, where a caption without a mnemonic of its own is
    // compared without the one the window adds to every menu item.
    QStringList shown(const QList<QAction*>& actions, const QStringList& expected)
    {
        QStringList out = texts(actions);
        for (int i = 0; i < out.size() && i < expected.size(); ++i) {
            if (expected[i].contains(QLatin1Char('&')))
                continue;
            QString plain = out[i];
            plain.remove(plain.indexOf(QLatin1Char('&')), plain.contains(QLatin1Char('&')) ? 1 : 0);
            if (plain == expected[i])
                out[i] = plain;
        }
        return out;
    }
    void expectCaptions(const QList<QAction*>& actions, const QStringList& expected)
    {
        EXPECT_EQ(shown(actions, expected), expected);
    }
    QToolButton* button(const char* name) { return window->findChild<QToolButton*>(name); }

    kv::DataModule dm;
    std::unique_ptr<kv::MainWindow> window;
};

QStringList u(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* s : list)
        out << QString::fromUtf8(s);
    return out;
}

} // namespace

TEST_F(MainWindow, TopLevelMenuAndSelectionMenuInOrder)
{
    EXPECT_EQ(window->windowTitle(), "Kvelta 2001");
    expectCaptions(window->menuBar()->actions(),
                   u({"&Výběr", "&Zobrazit", "&Tisk", "&Okna", "&Prezentace", "&Důležité odkazy",
                      "&Nápověda", "&Konec"}));
    QMenu* vyber = window->menus()->item("MIVyber")->menu();
    expectCaptions(vyber->actions(),
                   u({"&Nový", "&Upravit", "&Načíst", "U&ložit", "Načís&t ze serveru ...",
                      "Uložit na se&rver ...", "-", "Setřídit záznamy", "&Vyjmout záznam",
                      "U&kázat vyjmuté", "-", "Vložit poznámku"}));
    // The server's items (shown only while a server is set) take letters
    // of their own; the added ones of the items after them stay.
    EXPECT_EQ(window->menus()->item("MISort")->text(), u({"&Setřídit záznamy"}).first());
    expectCaptions(window->menus()->item("MISort")->menu()->actions(),
                   u({"Název firmy", "Místo", "Okres", "PSČ"}));
    expectCaptions(window->menus()->item("MIZobrazit")->menu()->actions(),
                   u({"&Seznam", "&Profil", "-", "&Nastavení", "&Jazyk"}));
    expectCaptions(window->menus()->item("MITisk")->menu()->actions(),
                   u({"&Seznam", "&Profil", "Štít&ky", "-", "&Export do souboru"}));
    expectCaptions(window->menus()->item("MINapoveda")->menu()->actions(),
                   u({"&Obsah", "-", "O &programu ..."}));
    // The link names have no mnemonic of their own; the added one is not compared.
    QStringList links = texts(window->menus()->item("MIDuleziteOdkazy")->menu()->actions());
    links.replaceInStrings(QStringLiteral("&"), QString());
    ASSERT_EQ(links.size(), 11);
    EXPECT_EQ(links.mid(0, 4), u({"Kvelta", "Pelorin", "Tamsik", "Velund"}));
    EXPECT_EQ(links.mid(9), u({"Obchodní rejstřík", "ARES"}));
}

TEST_F(MainWindow, PopupMenuMirrorsTheMainMenu)
{
    QMenu* popup = window->menus()->popup();
    expectCaptions(popup->actions(),
                   u({"&Výběr", "&Tisk", "-", "Setřídit záznamy", "-", "&Seznam", "&Profil",
                      "&Nastavení", "-", "&Vyjmout záznam", "Vložit poznámku"}));
    EXPECT_EQ(texts(window->menus()->item("PISort")->menu()->actions()),
              texts(window->menus()->item("MISort")->menu()->actions()));
    expectCaptions(window->menus()->item("PIVyber")->menu()->actions(),
                   u({"&Upravit", "&Nový", "U&ložit", "&Načíst"}));
}

TEST_F(MainWindow, ToolbarHintsAndLanguageSwitch)
{
    EXPECT_EQ(button("sbVyber")->toolTip(), QString::fromUtf8("Výběr firem"));
    EXPECT_EQ(button("navFirst")->toolTip(), QString::fromUtf8("Přesun na první záznam"));
    EXPECT_EQ(button("navLast")->toolTip(), QString::fromUtf8("Přesun na poslední záznam"));
    EXPECT_TRUE(button("sbCZ")->isVisible());
    EXPECT_TRUE(button("sbEN")->isVisible());
    EXPECT_TRUE(window->menus()->item("MIJazyk")->isVisible());

    button("sbEN")->click();
    EXPECT_EQ(kv::settings().langBase, 500);
    EXPECT_EQ(window->menus()->item("MIVyber")->text(), "&Search");
    EXPECT_EQ(button("navNext")->toolTip(), "Next record");
    EXPECT_TRUE(window->statusText(0).startsWith("Record  "));
    window->menus()->item("MIJazyk")->trigger();
    EXPECT_EQ(kv::settings().langBase, 0);
    EXPECT_EQ(window->menus()->item("MIVyber")->text(), QString::fromUtf8("&Výběr"));
}

TEST_F(MainWindow, StatusLineAndNavigator)
{
    EXPECT_EQ(window->statusText(0), QString::fromUtf8("Záznam  1 / 250"));
    EXPECT_TRUE(window->statusText(1).isEmpty());
    EXPECT_FALSE(button("navPrior")->isEnabled());
    button("navNext")->click();
    button("navNext")->click();
    EXPECT_EQ(window->statusText(0), QString::fromUtf8("Záznam  3 / 250"));
    button("navLast")->click();
    EXPECT_EQ(window->statusText(0), QString::fromUtf8("Záznam  250 / 250"));
    EXPECT_FALSE(button("navNext")->isEnabled());
    button("navFirst")->click();
    EXPECT_EQ(dm.firms()->position(), 1);
}

TEST_F(MainWindow, SortByTownOrdersTheNavigator)
{
    window->menus()->item("MISMisto")->trigger();
    EXPECT_EQ(dm.firms()->sort(), "misto");
    EXPECT_EQ(dm.firms()->position(), 1);
    QCollator czech(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    QString previous = dm.firms()->text("misto");
    for (int i = 0; i < 40; ++i) {
        button("navNext")->click();
        const QString town = dm.firms()->text("misto");
        EXPECT_LE(czech.compare(previous, town), 0)
            << previous.toStdString() << " / " << town.toStdString();
        previous = town;
    }
    window->menus()->item("PISNazev")->trigger();
    EXPECT_EQ(dm.firms()->sort(), "nazev");
}

TEST_F(MainWindow, ListWindowReopensOnTheCurrentFirm)
{
    window->showList();
    ASSERT_NE(window->listWindow(), nullptr);
    EXPECT_TRUE(window->listWindow()->isVisible());
    window->showList(); // already open: only brought forward
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 1);

    window->mdiArea()->subWindowList().first()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->listWindow(), nullptr);
    button("navNext")->click(); // moving without a list window is no error
    button("navNext")->click();

    window->menus()->item("MISeznam")->trigger();
    ASSERT_NE(window->listWindow(), nullptr);
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 1);
    EXPECT_TRUE(window->listWindow()->isVisible());
}

TEST_F(MainWindow, ArrangementStacksOrPlacesSideBySide)
{
    window->showList();
    auto other = new QLabel("profile");
    other->resize(300, 300);
    QMdiSubWindow* second = window->addChild(other);
    second->show();
    QMdiSubWindow* first = window->mdiArea()->subWindowList(QMdiArea::CreationOrder).first();

    window->setMdiMod(1);
    window->arrange();
    EXPECT_EQ(first->x(), second->x());
    EXPECT_LT(first->y(), second->y());
    EXPECT_EQ(first->width(), window->mdiArea()->viewport()->width());

    window->menus()->item("MIVedlesebe")->trigger();
    EXPECT_EQ(window->mdiMode(), 0);
    EXPECT_EQ(first->y(), second->y());
    EXPECT_LT(first->x(), second->x());

    window->menus()->item("MIKaskada")->trigger();
    EXPECT_EQ(window->mdiMode(), 2);

    window->setMdiMod(5); // other values arrange nothing
    const QRect before = second->geometry();
    window->arrange();
    EXPECT_EQ(second->geometry(), before);
}

TEST_F(MainWindow, ClosingAsksAndNoKeepsRunningWithoutWriting)
{
    int writes = 0;
    window->setOnClose([&]() { ++writes; });
    QString text, title;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::No, &text, &title);
    window->close();
    EXPECT_EQ(text, QString::fromUtf8("Ukončit  Kvelta 2001"));
    EXPECT_EQ(title, QString::fromUtf8("Dotaz ..."));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(writes, 0);

    kvtest::DialogClicker::clickNext(QDialogButtonBox::Yes);
    window->menus()->item("MIKonec")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(writes, 1);
}

TEST_F(MainWindow, CommandsWithoutTheirWindowDoNothing)
{
    for (const char* name : {"MINovy", "MIUpravit", "MINacist", "MIUlozit", "MIVyjmout",
                             "MIVyjmute", "MIPozn", "MIProfil", "MINastaveni", "MITSeznam",
                             "MITProfil", "MITStitky", "MITxtExport", "MIPrezentace"})
        window->menus()->item(name)->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dm.firms()->recordCount(), 250);
}

TEST_F(MainWindow, HelpOpensTheDataHomesHelpAtATopic)
{
    window->runCommand(kv::Command::Help);
    auto help = window->findChild<kv::HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->browser()->source().toLocalFile().endsWith("KV2001.html"));
    EXPECT_FALSE(help->browser()->toPlainText().isEmpty());
    window->showHelp("vyber");
    EXPECT_EQ(help->currentAnchor(), "vyber");
}

TEST_F(MainWindow, HelpWithoutAPageInTheDataHomeShowsTheBuiltInOne)
{
    kvtest::TestHome bare; // a data folder without KV2001.html
    const QString home = kv::settings().dataHome;
    kv::settings().dataHome = bare.path();
    window->showHelp("vyber");
    kv::settings().dataHome = home;
    auto help = window->findChild<kv::HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->browser()->source(), QUrl("qrc:/KV2001.html"));
    EXPECT_FALSE(help->browser()->toPlainText().contains("nenalezen"));
    EXPECT_GT(help->browser()->toPlainText().size(), 1000);
    EXPECT_EQ(help->currentAnchor(), "vyber");
}
