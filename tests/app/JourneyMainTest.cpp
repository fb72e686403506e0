// Journeys through the main window, the selection, notes, exclusion and
// export, with input delivered through the window system (QWindow events,
// which honour modality and focus). Each checks what the user sees.
#include "domain/Export.h"
#include "domain/FirmListModel.h"
#include "domain/NoteFile.h"
#include "engine/TableCursor.h"
#include "tests/support/Journey.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/WindowInput.h"
#include "ui/FirmListWindow.h"
#include "ui/HelpWindow.h"
#include "ui/MenuKeys.h"
#include "ui/ProfileWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCollator>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace kvtest;
namespace in = kvtest::input;

namespace
{

kv::ProfileWindow* profile(JourneyApp& app)
{
    return app.window().findChild<kv::ProfileWindow*>(QStringLiteral("FProfil"));
}

// Whether the profile shows this text in one of its labels.
bool profileShows(JourneyApp& app, const QString& text)
{
    kv::ProfileWindow* p = profile(app);
    if (!p || !p->isVisible())
        return false;
    for (QLabel* l : p->findChildren<QLabel*>())
        if (l->isVisible() && l->text() == text)
            return true;
    return false;
}

// Clicks the first entry of a list view (the dictionary after typing).
void doubleClickFirst(QListView* list)
{
    ASSERT_NE(list, nullptr);
    ASSERT_GT(list->model()->rowCount(), 0);
    in::doubleClick(list->viewport(), list->visualRect(list->model()->index(0, 0)).center());
}

TEST(JourneyMain, NewSelectionThroughDictionariesAndIndustrySearchShowsTheSet)
{
    JourneyApp app(200, false);
    kv::engine::TableCursor& firms = *app.dm().firms();
    firms.setFilter(QString(), false); // the first firm of the directory
    firms.first();
    const QString word = firms.text("nazev").section(u' ', 0, 0).left(3);
    const QString town = firms.text("misto").left(3);
    QString counted;
    Journey j;
    j.then("the selection button", [] { in::click("sbVyber"); })
        .waitFor("the selection window", [] { return in::frontIs("FVyber"); })
        .then("a name word from the dictionary",
              [&] {
                  in::type(in::find("edSlovnik"), word);
                  doubleClickFirst(qobject_cast<QListView*>(in::find("DBList")));
              })
        .waitFor("the word in the name row",
                 [] { return !static_cast<QLineEdit*>(in::find("edNazev"))->text().isEmpty(); })
        .then("the town row and a town",
              [&] {
                  in::click("lMisto");
                  in::type(in::find("edSlovnik"), town);
                  doubleClickFirst(qobject_cast<QListView*>(in::find("DBList")));
              })
        .waitFor("the town in its row",
                 [] { return !static_cast<QLineEdit*>(in::find("edMisto"))->text().isEmpty(); })
        .then("the name row's values", [] { in::click("sbNazev"); })
        .waitFor("the criterion detail, over the selection window",
                 [] {
                     auto values = qobject_cast<QAbstractItemView*>(in::find("lbPop"));
                     return in::frontIs("FVyberDetail") && values &&
                            values->model()->rowCount() == 1;
                 })
        .then("close it unchanged", [] { in::click("btnZrusit"); })
        .waitFor("the selection window with the word still in its row",
                 [] {
                     return in::frontIs("FVyber") &&
                            !static_cast<QLineEdit*>(in::find("edNazev"))->text().isEmpty();
                 })
        .then("the industry search", [] { in::click("sbFulltext"); })
        .waitFor("the industry search window", [] { return in::frontIs("FVyberZatrid"); })
        .then("search and pick the first industry",
              [] {
                  in::type(in::find("edHledat"), "a");
                  in::key(Qt::Key_Return);
              })
        .waitFor("industries found",
                 [] {
                     // The window lists the whole dictionary before a search.
                     auto lb = qobject_cast<QListWidget*>(in::find("lb"));
                     auto typed = qobject_cast<QLineEdit*>(in::find("edHledat"));
                     if (!lb || lb->count() == 0 || !typed || typed->text() != "a")
                         return false;
                     for (int i = 0; i < lb->count(); ++i)
                         if (!lb->item(i)->text().contains('a', Qt::CaseInsensitive))
                             return false;
                     return true;
                 })
        .then("take it",
              [] {
                  auto lb = qobject_cast<QListWidget*>(in::find("lb"));
                  in::click(lb->viewport(), lb->visualItemRect(lb->item(0)).center());
                  in::click("btnOk");
              })
        .waitFor("the industry in its row",
                 [] {
                     return in::frontIs("FVyber") &&
                            !static_cast<QLineEdit*>(in::find("edZatrid"))->text().isEmpty();
                 })
        .then("rows joined by 'nebo', count",
              [] {
                  in::click("rgLogMezi0");
                  in::click("btnSpocitat");
              })
        .waitFor("the count",
                 [] { return !static_cast<QLabel*>(in::find("lPocet"))->text().isEmpty(); })
        .then("OK",
              [&] {
                  counted = static_cast<QLabel*>(in::find("lPocet"))->text();
                  in::click("btnOk");
              })
        .waitFor("back in the main window", [] { return in::frontIs("FMain"); });
    ASSERT_TRUE(j.run());
    const int n = firms.recordCount();
    EXPECT_GT(n, 0);
    EXPECT_LT(n, 200);
    EXPECT_TRUE(counted.contains(QString::number(n))) << counted.toStdString();
    kv::FirmListWindow* list = app.window().listWindow();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->findChild<QTableView*>("Grid")->model()->rowCount(), n);
    EXPECT_TRUE(profileShows(app, firms.text("nazev")));
}

TEST(JourneyMain, BrowseSortExcludeAndRestore)
{
    JourneyApp app;
    kv::engine::TableCursor& firms = *app.dm().firms();
    const int all = firms.recordCount();
    auto grid = [&] { return app.window().listWindow()->findChild<QTableView*>("Grid"); };
    QString excludedName, statusAfterExclude;
    Journey j;
    j.then("into the list, two rows down",
           [&] {
               in::click(grid()->viewport(),
                         grid()->visualRect(grid()->model()->index(0, 0)).center());
               in::key(Qt::Key_Down);
               in::key(Qt::Key_Down);
           })
        .waitFor("the third firm", [&] { return firms.position() == 3; })
        .then("the navigator: last", [] { in::click("navLast"); })
        .waitFor("the last firm", [&] { return firms.position() == all; })
        .then("the navigator: first", [] { in::click("navFirst"); })
        .waitFor("the first firm", [&] { return firms.position() == 1; })
        .then("sort by town",
              [&] {
                  in::chooseMenu(&app.window(), {"MIVyber", "MISort", "MISMisto"});
              })
        .waitFor("sorted", [&] { return firms.sort().startsWith(QLatin1String("misto")); })
        .then("exclude the current firm with Delete",
              [&] {
                  excludedName = firms.text("nazev");
                  in::click(grid()->viewport(),
                            grid()->visualRect(grid()->model()->index(0, 0)).center());
                  in::key(Qt::Key_Delete);
              })
        .waitFor("one firm fewer", [&] { return firms.recordCount() == all - 1; })
        .then("show the excluded firms",
              [&] {
                  statusAfterExclude = app.status(1);
                  in::chooseMenu(&app.window(), {"MIVyber", "MIVyjmute"});
              })
        .waitFor("the excluded firms window", [] { return in::frontIs("FVyjmute"); })
        .then("restore it",
              [&] {
                  auto lst = qobject_cast<QListWidget*>(in::find("lst"));
                  ASSERT_EQ(lst->count(), 1);
                  EXPECT_TRUE(lst->item(0)->text().contains(excludedName));
                  in::click(lst->viewport(), lst->visualItemRect(lst->item(0)).center());
                  in::key(Qt::Key_Space); // ticks it
                  in::click("btnObnov");
              })
        .waitFor("every firm back", [&] { return firms.recordCount() == all; })
        .then("close the window if it is still open",
              [] {
                  if (in::find("FVyjmute"))
                      in::click("btnZrusit");
              })
        .waitFor("the main window", [] { return in::frontIs("FMain"); });
    ASSERT_TRUE(j.run());
    EXPECT_TRUE(statusAfterExclude.contains(u'1')) << statusAfterExclude.toStdString();
    // The list shows the towns in order.
    QCollator czech(QLocale(QLocale::Czech));
    QStringList towns;
    for (firms.first(); !firms.eof() && towns.size() < 40; firms.next())
        towns << firms.text("misto");
    for (int i = 1; i < towns.size(); ++i)
        EXPECT_LE(czech.compare(towns[i - 1], towns[i]), 0) << towns[i - 1].toStdString();
}

TEST(JourneyMain, NoteWrittenAndShownAnotherCancelled)
{
    JourneyApp app(61); // a home of its own: notes are written into it
    Journey j;
    QString focusAfterTab, typed;
    const int peno = app.dm().firms()->integer("peno");
    j.then("the note button", [] { in::click("sbPozn"); })
        .waitFor("the note window", [] { return in::frontIs("FPozn"); })
        .then("write, a tab by Ctrl+Tab",
              [&] {
                  in::type(in::find("mmPozn"), "Volat");
                  in::key(Qt::Key_Tab, Qt::ControlModifier);
                  auto memo = qobject_cast<QPlainTextEdit*>(in::find("mmPozn"));
                  typed = memo ? memo->toPlainText() : QString();
              })
        .then("OK", [] { in::click("btnOk"); })
        .waitFor("the note in the profile",
                 [&] { return profile(app)->noteMemo()->toPlainText() == "Volat\t"; })
        .then("another note", [] { in::click("sbPozn"); })
        .waitFor("the note window again", [] { return in::frontIs("FPozn"); })
        .then("write, Tab leaves the editor",
              [&] {
                  in::type(in::find("mmPozn"), "Nevolat");
                  in::key(Qt::Key_Tab);
                  QWidget* f = QApplication::focusWidget();
                  focusAfterTab = f ? f->objectName() : QString();
                  in::click("btnZrusit");
              })
        .waitFor("the main window", [] { return in::frontIs("FMain"); });
    ASSERT_TRUE(j.run());
    // Ctrl+Tab typed a tab into the editor and the note file keeps it.
    EXPECT_EQ(typed, "Volat\t");
    QFile note(kv::NoteFile::path(peno));
    ASSERT_TRUE(note.open(QIODevice::ReadOnly));
    EXPECT_EQ(note.readAll(), "Volat\t\r\n");
    EXPECT_NE(focusAfterTab, "mmPozn");
    EXPECT_EQ(profile(app)->noteMemo()->toPlainText(), "Volat\t");
}

} // namespace
