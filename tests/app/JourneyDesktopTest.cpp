// Journeys through export, settings, language, help, about and exit, with
// input delivered through the window system; and the keyboard of the menus.
#include "domain/Export.h"
#include "tests/support/Journey.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/WindowInput.h"
#include "ui/HelpWindow.h"
#include "ui/LinkOpener.h"
#include "ui/MenuKeys.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <functional>
#include <gtest/gtest.h>

using namespace kvtest;
namespace in = kvtest::input;

namespace
{

kv::HelpWindow* visibleHelp()
{
    for (QWidget* w : QApplication::allWidgets())
        if (auto h = qobject_cast<kv::HelpWindow*>(w); h && h->isVisible())
            return h;
    return nullptr;
}

// Export steps: Ctrl+E, a choice made in the export window and OK, the file
// name typed into the save dialog, and the done message read (into *done
// when given).
void exportSteps(Journey& j, const QString& what, std::function<void()> choose, const QString& file,
                 QString* done)
{
    j.then("Tisk > Export", [] { in::key(Qt::Key_E, Qt::ControlModifier); })
        .waitFor("the export window", [] { return in::frontIs("FExport"); })
        .then(what,
              [choose] {
                  choose();
                  in::click("btnOk");
              })
        .waitFor("the save dialog", [] { return qobject_cast<QFileDialog*>(in::front()); })
        .then("the file name",
              [file] {
                  in::type(in::find("fileNameEdit"), file);
                  in::key(Qt::Key_Return);
              })
        .waitFor("the done message", [] { return boxInFront(); })
        .then("read it", [done] { answerBox(QMessageBox::Ok, done); })
        .waitFor("the main window", [] { return in::frontIs("FMain"); });
}

// With the separator group's item (2 is "Jiný" with its text).
void exportWith(Journey& j, int item, const QString& other, const QString& file, QString* done)
{
    exportSteps(
        j, "the separator",
        [item, other] {
            auto group = in::find("rgOddelovac");
            ASSERT_NE(group, nullptr);
            const auto items = group->findChildren<QRadioButton*>();
            ASSERT_EQ(items.size(), 3);
            in::click(items[item]);
            if (item == 2)
                in::type(in::find("edOddelovac"), other);
        },
        file, done);
}

// With a format button of the window (rbText, rbCsv, rbXlsx) and a file name
// typed without its suffix, which the format supplies.
void exportAs(Journey& j, const char* format, const QString& file)
{
    exportSteps(
        j, "the format", [format] { ASSERT_TRUE(in::click(QLatin1String(format))); }, file,
        nullptr);
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray unzipped(const QString& zip, const QString& member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    unzip.waitForFinished(30000);
    return unzip.exitCode() == 0 ? unzip.readAllStandardOutput() : QByteArray();
}

TEST(JourneyDesktop, EachFormatChosenInTheExportWindowWritesThatFormat)
{
    JourneyApp app(40);
    QTemporaryDir dir;
    const int firms = app.dm().firms()->recordCount();
    Journey j;
    // xlsx and CSV first: the text format is the window's default, so it must
    // come back on the next opening.
    exportAs(j, "rbXlsx", dir.filePath(QStringLiteral("sheet")));
    exportAs(j, "rbCsv", dir.filePath(QStringLiteral("table")));
    exportAs(j, "rbText", dir.filePath(QStringLiteral("lines")));
    ASSERT_TRUE(j.run());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({"lines.txt", "sheet.xlsx", "table.csv"}));

    // Each file as the export writes that format with the window's
    // designed items and separator.
    auto reference = [&](kv::ExportFormat format, const QString& name) {
        kv::ExportChoice choice;
        choice.separator = kv::ExportChoice::separatorFor(1, QString());
        choice.format = format;
        const QString path = dir.filePath(QStringLiteral("reference/") + name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_EQ(kv::TextExport::run(app.dm(), choice, path).status,
                  kv::TextExport::Status::Written);
        return path;
    };
    const QByteArray text = fileBytes(dir.filePath(QStringLiteral("lines.txt")));
    EXPECT_EQ(text, fileBytes(reference(kv::ExportFormat::Text, QStringLiteral("lines.txt"))));
    EXPECT_EQ(text.count("\r\n"), firms);
    EXPECT_EQ(text.count("\t\r\n"), firms) << "the separator after every item";
    EXPECT_EQ(text.count('\t'), 4 * firms) << "the four designed items";
    EXPECT_FALSE(text.startsWith("\xEF\xBB\xBF"));

    const QByteArray csv = fileBytes(dir.filePath(QStringLiteral("table.csv")));
    EXPECT_EQ(csv, fileBytes(reference(kv::ExportFormat::Csv, QStringLiteral("table.csv"))));
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF")) << "UTF-8 with its byte-order mark";
    EXPECT_EQ(csv.count("\r\n"), firms + 1) << "a header row and one line per firm";
    EXPECT_EQ(csv.count('\t'), 5 * (firms + 1)) << "number, IČO and four items";
    EXPECT_EQ(csv.count("\t\r\n"), 0) << "the separator between cells only";

    const QString xlsx = dir.filePath(QStringLiteral("sheet.xlsx"));
    EXPECT_TRUE(fileBytes(xlsx).startsWith("PK\x03\x04")) << "a zip archive";
    const QByteArray sheet = unzipped(xlsx, QStringLiteral("xl/worksheets/sheet1.xml"));
    EXPECT_TRUE(sheet.contains("<sheetData>")) << sheet.left(200).toStdString();
    EXPECT_EQ(sheet.count("<row "), firms + 1);
    const QByteArray strings = unzipped(xlsx, QStringLiteral("xl/sharedStrings.xml"));
    app.dm().firms()->first();
    EXPECT_TRUE(
        strings.contains(app.dm().firms()->text(QStringLiteral("nazev")).toHtmlEscaped().toUtf8()))
        << "the first firm's name is a cell of the sheet";
}

TEST(JourneyDesktop, ExportWithEachSeparatorWritesTheRightBytes)
{
    JourneyApp app;
    QTemporaryDir dir;
    const int firms = app.dm().firms()->recordCount();
    QString refusal;
    const QString seps[3] = {";", "\t", " | "};
    QString done[3];
    Journey j;
    for (int i = 0; i < 3; ++i)
        exportWith(j, i, seps[i], dir.filePath(QStringLiteral("e%1.txt").arg(i)), &done[i]);
    // "Jiný" left empty is refused, and the window stays.
    j.then("Tisk > Export again", [] { in::key(Qt::Key_E, Qt::ControlModifier); })
        .waitFor("the export window", [] { return in::frontIs("FExport"); })
        .then("an empty other separator",
              [] {
                  const auto items = in::find("rgOddelovac")->findChildren<QRadioButton*>();
                  in::click(items[2]);
                  in::click("btnOk");
              })
        .waitFor("the refusal", [] { return boxInFront(); })
        .then("read it", [&] { answerBox(QMessageBox::Ok, &refusal); })
        .waitFor("still the export window", [] { return in::frontIs("FExport"); })
        .then("close", [] { in::click("btnZrusit"); })
        .waitFor("the main window", [] { return in::frontIs("FMain"); });
    ASSERT_TRUE(j.run());
    for (int i = 0; i < 3; ++i) {
        const QString path = dir.filePath(QStringLiteral("e%1.txt").arg(i));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << i;
        const QByteArray bytes = f.readAll();
        kv::ExportChoice choice;
        choice.separator = seps[i];
        const QString reference = dir.filePath(QStringLiteral("r%1.txt").arg(i));
        ASSERT_EQ(kv::TextExport::run(app.dm(), choice, reference).status,
                  kv::TextExport::Status::Written);
        QFile r(reference);
        ASSERT_TRUE(r.open(QIODevice::ReadOnly));
        EXPECT_EQ(bytes, r.readAll()) << i;
        EXPECT_EQ(bytes.count("\r\n"), firms);
        EXPECT_TRUE(done[i].contains(QString::number(firms))) << done[i].toStdString();
        EXPECT_TRUE(done[i].contains(QStringLiteral("e%1.txt").arg(i))) << done[i].toStdString();
    }
    EXPECT_FALSE(refusal.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("e3.txt")));
}

TEST(JourneyDesktop, SettingsLanguageHelpAboutAndExit)
{
    JourneyApp app;
    bool closed = false;
    app.window().setOnClose([&] { closed = true; });
    QAction* selection = app.window().menus()->item("MIVyber");
    QString helpAnchorMain, helpAnchorSelection;
    Journey j;
    j.then("Zobrazit > Nastavení",
           [&] {
               in::chooseMenu(&app.window(), {"MIZobrazit", "MINastaveni"});
           })
        .waitFor("the display settings", [] { return in::frontIs("FNastaveni"); })
        .then("OK", [] { in::click("btnOk"); })
        .waitFor("the main window", [] { return in::frontIs("FMain"); })
        .then("English", [] { in::click("sbEN"); })
        .waitFor("English menus", [&] { return selection->text() == "&Search"; })
        .then("Czech", [] { in::click("sbCZ"); })
        .waitFor("Czech menus", [&] { return selection->text() == QString::fromUtf8("&Výběr"); })
        .then("F1 in the main window", [] { in::key(Qt::Key_F1); })
        .waitFor("the help",
                 [] { return visibleHelp() && in::focusWindowWidget() == visibleHelp(); })
        .then("Esc closes it",
              [&] {
                  helpAnchorMain = visibleHelp()->currentAnchor();
                  in::key(Qt::Key_Escape);
              })
        .waitFor("the help gone", [] { return !visibleHelp() && in::frontIs("FMain"); })
        .then("the selection window", [] { in::click("sbVyber"); })
        .waitFor("the selection window", [] { return in::frontIs("FVyber"); })
        .then("its help button", [] { in::click("btnHelp"); })
        .waitFor("the help, taking input",
                 [] { return visibleHelp() && in::focusWindowWidget() == visibleHelp(); })
        .then("scroll it and close it by its button",
              [&] {
                  helpAnchorSelection = visibleHelp()->currentAnchor();
                  in::key(Qt::Key_End);
                  in::click(visibleHelp()->closeButton());
              })
        .waitFor("the help gone", [] { return !visibleHelp() && in::frontIs("FVyber"); })
        .then("leave the selection", [] { in::click("btnZrusit"); })
        .waitFor("the main window", [] { return in::frontIs("FMain"); })
        .then("Nápověda > O programu",
              [&] {
                  in::chooseMenu(&app.window(), {"MINapoveda", "MIOprogramu"});
              })
        .waitFor("the about box", [] { return in::frontIs("FAbout"); })
        .then("OK", [] { in::click("btnOk"); })
        .waitFor("the main window", [] { return in::frontIs("FMain"); })
        .then("Konec",
              [&] {
                  in::click(app.window().menuBar(),
                            app.window()
                                .menuBar()
                                ->actionGeometry(app.window().menus()->item("MIKonec"))
                                .center());
              })
        .waitFor("the exit question", [] { return boxInFront(); })
        .then("No", [] { answerBox(QMessageBox::No); })
        .waitFor("still running", [&] { return in::frontIs("FMain") && app.window().isVisible(); })
        .then("Ctrl+Q", [] { in::key(Qt::Key_Q, Qt::ControlModifier); })
        .waitFor("the exit question", [] { return boxInFront(); })
        .then("Yes", [] { answerBox(QMessageBox::Yes); })
        .waitFor("closed", [&] { return closed; });
    ASSERT_TRUE(j.run());
    EXPECT_EQ(helpAnchorMain, "seznam");
    EXPECT_EQ(helpAnchorSelection, "vyber");
}

TEST(JourneyDesktop, LinkWithoutBrowserShowsTheAddressToCopy)
{
    JourneyApp app;
    QUrl asked;
    kv::LinkOpener::setLauncher([&](const QUrl& url) {
        asked = url;
        return false;
    });
    QString shown;
    Qt::TextInteractionFlags flags;
    Journey j;
    j.then("Důležité odkazy > ARES",
           [&] {
               in::chooseMenu(&app.window(), {"MIDuleziteOdkazy", "MIWAres"});
           })
        .waitFor("the message", [] { return boxInFront(); })
        .then("read it",
              [&] {
                  flags = boxInFront()->textInteractionFlags();
                  answerBox(QMessageBox::Ok, &shown);
              })
        .waitFor("the main window", [] { return in::frontIs("FMain"); });
    const bool ran = j.run();
    kv::LinkOpener::setLauncher({});
    ASSERT_TRUE(ran);
    EXPECT_FALSE(asked.isEmpty());
    EXPECT_TRUE(shown.contains(asked.toString())) << shown.toStdString();
    EXPECT_TRUE(flags & Qt::TextSelectableByMouse);
}

// Every item of the menu table has a mnemonic, in both languages.
TEST(JourneyDesktop, EveryMenuItemHasAMnemonic)
{
    JourneyApp app;
    QAction* language = app.window().menus()->item("MIJazyk");
    for (int round = 0; round < 2; ++round) {
        QList<QMenu*> menus =
            app.window().findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
        QList<QList<QAction*>> groups{app.window().menuBar()->actions()};
        for (QMenu* m : menus)
            groups << m->actions();
        int items = 0;
        for (const auto& group : groups) {
            for (QAction* a : group) {
                if (a->isSeparator() || a->text().isEmpty())
                    continue;
                ++items;
                EXPECT_FALSE(kv::MenuKeys::mnemonic(a->text()).isNull())
                    << a->objectName().toStdString() << " " << a->text().toStdString();
            }
        }
        EXPECT_GT(items, 60);
        language->trigger(); // the other language
    }
    EXPECT_EQ(kv::MenuKeys::mnemonic("Set&řídit"), QChar(u'ř'));
    EXPECT_TRUE(kv::MenuKeys::mnemonic("A && B").isNull());
}

} // namespace
