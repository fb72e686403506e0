#include "ui/SelectionWindow.h"

#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DialogClicker.h"
#include "tests/ui/SelectionWindowFixture.h"
#include "ui/SelectionFileDialogs.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace
{

using Row = kv::SelectionState::Row;
constexpr int PrahaId = 2516; // the demo town dictionary's "Praha"

class SelectionWindowTest : public kvtest::SelectionWindowFixture
{
};

TEST_F(SelectionWindowTest, WindowCarriesItsControlsAndTexts)
{
    EXPECT_EQ(w->size(), QSize(744, 381));
    EXPECT_EQ(w->windowTitle(), kv::loadStr(72));
    const char* rows[] = {"Nazev", "Ulice", "Zatrid", "Misto", "Okres", "ICO", "Radky"};
    const int labels[] = {22, 23, 32, 24, 26, 21, 221};
    for (int i = 0; i < 7; ++i) {
        const QString name = QLatin1String(rows[i]);
        auto* label = w->findChild<QLabel*>(QStringLiteral("l") + name);
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("ed") + name);
        auto* button = w->findChild<QToolButton*>(QStringLiteral("sb") + name);
        ASSERT_TRUE(label && edit && button) << rows[i];
        EXPECT_EQ(label->text(), kv::loadStr(labels[i]));
        EXPECT_TRUE(edit->isReadOnly());
        EXPECT_EQ(button->text(), QStringLiteral("Upravit"));
        EXPECT_FALSE(button->isEnabled()) << "no values yet: " << rows[i];
    }
    EXPECT_EQ(child<QLabel>("lSlovnik")->text(), QStringLiteral("&Slovník"));
    EXPECT_EQ(list()->size(), QSize(220, 316));
    EXPECT_EQ(child<QGroupBox>("rgLogV")->title(), kv::loadStr(73));
    EXPECT_EQ(logV(0)->text(), QStringLiteral("nebo"));
    EXPECT_EQ(logV(1)->text(), QStringLiteral("a zároveň"));
    EXPECT_EQ(child<QCheckBox>("cbEmail")->text(), kv::loadStr(236));
    EXPECT_EQ(child<QToolButton>("sbFulltext")->text(), QStringLiteral("Hledat obor"));
    EXPECT_EQ(child<QToolButton>("sbTip")->text(), QStringLiteral("Tip"));
    EXPECT_TRUE(child<QPushButton>("btnOk")->isDefault());
    EXPECT_EQ(child<QPushButton>("btnZrusit")->text(), kv::loadStr(235));
    EXPECT_TRUE(child<QLabel>("lPocet")->text().isEmpty());

    QSignalSpy help(w.get(), &kv::SelectionWindow::helpRequested);
    QSignalSpy tip(w.get(), &kv::SelectionWindow::tipRequested);
    child<QPushButton>("btnHelp")->click();
    child<QToolButton>("sbTip")->click();
    ASSERT_EQ(help.size(), 1);
    EXPECT_EQ(help.at(0).at(0).toString(), QStringLiteral("vyber"));
    EXPECT_EQ(tip.size(), 1);
}

TEST_F(SelectionWindowTest, ActiveRowIsMarkedAndTownForcesOr)
{
    // Every showing starts on the name row.
    EXPECT_EQ(w->activeRow(), Row::Nazev);
    EXPECT_EQ(w->rowEdit(Row::Nazev)->palette().color(QPalette::Base), QColor(Qt::yellow));
    EXPECT_TRUE(w->rowEdit(Row::Nazev)->font().bold());
    EXPECT_TRUE(w->rowLabel(Row::Nazev)->font().underline());
    EXPECT_EQ(w->rowLabel(Row::Nazev)->palette().color(QPalette::WindowText), QColor(Qt::blue));

    logV(1)->click();
    pick(QStringLiteral("s.r"));
    activate(Row::Misto);
    EXPECT_EQ(w->activeRow(), Row::Misto);
    EXPECT_FALSE(w->rowEdit(Row::Nazev)->font().bold());
    EXPECT_FALSE(w->rowLabel(Row::Nazev)->font().underline());
    EXPECT_EQ(w->rowLabel(Row::Nazev)->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_TRUE(w->rowLabel(Row::Misto)->font().bold());
    EXPECT_FALSE(child<QGroupBox>("rgLogV")->isEnabled());
    EXPECT_TRUE(logV(0)->isChecked());
    EXPECT_TRUE(slovnik()->hasFocus() || !w->isActiveWindow());

    // Back on the name row the switch is free again and shows the row's flag.
    activate(Row::Nazev);
    EXPECT_TRUE(child<QGroupBox>("rgLogV")->isEnabled());
    EXPECT_TRUE(logV(1)->isChecked());
}

TEST_F(SelectionWindowTest, SearchDropsApostrophesAndNarrowsTheDictionary)
{
    activate(Row::Misto);
    const int all = dm->townDictionary()->recordCount();
    QTest::keyClicks(slovnik(), QStringLiteral("Pra'ha"));
    EXPECT_EQ(slovnik()->text(), QStringLiteral("Praha"));
    EXPECT_EQ(dm->townDictionary()->filter(), QStringLiteral("misto like 'Praha*'"));
    EXPECT_TRUE(dm->townDictionary()->isFiltered());
    ASSERT_GE(list()->model()->rowCount(), 1);
    EXPECT_LT(dm->townDictionary()->recordCount(), all);
    for (int r = 0; r < list()->model()->rowCount(); ++r)
        EXPECT_TRUE(list()->model()->index(r, 0).data().toString().startsWith(u"Praha"));

    // Switching rows shows the next dictionary whole, with an empty box.
    activate(Row::Okres);
    EXPECT_TRUE(slovnik()->text().isEmpty());
    activate(Row::Misto);
    EXPECT_FALSE(dm->townDictionary()->isFiltered());
    EXPECT_EQ(dm->townDictionary()->recordCount(), all);

    // Nothing matches: no entry is selected, so Space adds nothing.
    QTest::keyClicks(slovnik(), QStringLiteral("Qxq"));
    QTest::keyClick(list(), Qt::Key_Space);
    EXPECT_EQ(w->state().row(Row::Misto).count(), 0);
}

TEST_F(SelectionWindowTest, LongDictionaryIsHandedOverInPages)
{
    activate(Row::Nazev);
    const int entries = dm->nameDictionary()->recordCount();
    ASSERT_GT(entries, 1000);
    QAbstractItemModel* m = list()->model();
    EXPECT_LT(m->rowCount(), entries);
    while (m->canFetchMore(QModelIndex()))
        m->fetchMore(QModelIndex());
    EXPECT_EQ(m->rowCount(), entries);
    EXPECT_EQ(m->index(entries - 1, 0).data().toString(),
              dm->nameDictionary()->fieldAt(entries, QStringLiteral("txt")).toString());
}

TEST_F(SelectionWindowTest, SameTownTwiceGivesOneValue)
{
    activate(Row::Misto);
    EXPECT_EQ(pick(QStringLiteral("Praha")), QStringLiteral("Praha"));
    pick(QStringLiteral("praha"));
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {},
                       list()->visualRect(list()->currentIndex()).center());
    const kv::CriterionValueList& towns = w->state().row(Row::Misto);
    ASSERT_EQ(towns.count(), 1);
    EXPECT_EQ(towns.Ids.at(0), QString::number(PrahaId));
    EXPECT_FALSE(towns.IsAnd);
    EXPECT_EQ(w->rowEdit(Row::Misto)->text(), QStringLiteral("Praha"));
    EXPECT_TRUE(w->rowButton(Row::Misto)->isEnabled());
}

TEST_F(SelectionWindowTest, WithinRowLogicRedrawsTheRow)
{
    logV(1)->click();
    const QString a = pick(QStringLiteral("s.r"));
    const QString b = pick(QStringLiteral("a.s"));
    ASSERT_FALSE(a.isEmpty());
    ASSERT_NE(a, b);
    EXPECT_EQ(w->rowEdit(Row::Nazev)->text(), a + QStringLiteral(" & ") + b);
    logV(0)->click();
    EXPECT_EQ(w->rowEdit(Row::Nazev)->text(), a + QStringLiteral(" | ") + b);
    EXPECT_FALSE(w->state().row(Row::Nazev).IsAnd);
}

TEST_F(SelectionWindowTest, OkInstallsTheFilterAndWritesTheCount)
{
    QSignalSpy status(w.get(), &kv::SelectionWindow::statusTextChanged);
    activate(Row::Misto);
    pick(QStringLiteral("Praha"));
    QTest::keyClick(list(), Qt::Key_Return); // Enter in the list acts as OK
    const int n =
        kvtest::demoRowCount(QStringLiteral("select peno from firma where misto_id=2516"));
    EXPECT_EQ(dm->firms()->filter(), QStringLiteral("(misto_id in(2516))"));
    EXPECT_EQ(dm->firms()->recordCount(), n);
    EXPECT_EQ(dm->firms()->position(), 1);
    ASSERT_EQ(status.size(), 1);
    EXPECT_EQ(status.at(0).at(1).toString(),
              QStringLiteral("Počet záznamů : ") + QString::number(n));
    EXPECT_EQ(w->result(), QDialog::Accepted);
}

TEST_F(SelectionWindowTest, OkWithoutMatchWarnsAndKeepsTheSet)
{
    const QString before = dm->firms()->filter();
    const int count = dm->firms()->recordCount();
    QSignalSpy status(w.get(), &kv::SelectionWindow::statusTextChanged);
    // No note file exists: the note condition is empty and so is the filter.
    child<QCheckBox>("cbPozn")->click();
    QString text, title;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text, &title);
    EXPECT_TRUE(w->applySelection());
    EXPECT_EQ(text, kv::loadStr(79));
    EXPECT_EQ(title, kv::loadStr(80));
    EXPECT_EQ(dm->firms()->filter(), before);

    // A company number no firm has: installed, counted 0, taken back.
    w->model().state.row(Row::Ico).add(QStringLiteral("00000001"), QStringLiteral("1"));
    text.clear();
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text);
    EXPECT_TRUE(w->applySelection());
    EXPECT_EQ(text, kv::loadStr(79));
    EXPECT_EQ(dm->firms()->filter(), before);
    EXPECT_TRUE(dm->firms()->isFiltered());
    ASSERT_EQ(status.size(), 2);
    EXPECT_EQ(status.at(1).at(1).toString(),
              QStringLiteral("Počet záznamů : ") + QString::number(count));
}

TEST_F(SelectionWindowTest, CountShowsTheNumberOrNoCriteria)
{
    auto* pocet = child<QLabel>("lPocet");
    child<QPushButton>("btnSpocitat")->click();
    EXPECT_EQ(pocet->text(), kv::loadStr(196));
    EXPECT_TRUE(pocet->font().bold());

    activate(Row::Misto);
    pick(QStringLiteral("Praha"));
    EXPECT_TRUE(pocet->text().isEmpty()) << "adding a value empties the count";
    child<QPushButton>("btnSpocitat")->click();
    const int n =
        kvtest::demoRowCount(QStringLiteral("select peno from firma where misto_id=2516"));
    EXPECT_EQ(pocet->text(), QStringLiteral("Počet záznamů : ") + QString::number(n));
    const QString filter = dm->firms()->filter();
    EXPECT_NE(filter, QStringLiteral("(misto_id in(2516))")) << "Count installs nothing";

    child<QCheckBox>("cbEmail")->click();
    EXPECT_TRUE(pocet->text().isEmpty());
}

TEST_F(SelectionWindowTest, CancelRestoresWhatWasThereBeforeOpeningOrClearing)
{
    activate(Row::Misto);
    pick(QStringLiteral("Praha"));
    child<QCheckBox>("cbWWW")->click();
    const kv::SelectionState before = w->state();

    // New selection: the snapshot is taken, the criteria are cleared.
    w->clearAll();
    EXPECT_TRUE(w->rowEdit(Row::Misto)->text().isEmpty());
    EXPECT_FALSE(child<QCheckBox>("cbWWW")->isChecked());
    pick(QStringLiteral("Brn"));
    child<QPushButton>("btnZrusit")->click();
    EXPECT_EQ(w->state(), before);
    EXPECT_EQ(w->rowEdit(Row::Misto)->text(), QStringLiteral("Praha"));
    EXPECT_TRUE(child<QCheckBox>("cbWWW")->isChecked());
    EXPECT_EQ(w->result(), QDialog::Rejected);

    // Clear all: No keeps everything; Yes then Cancel brings it back.
    w->show();
    w->takeSnapshot();
    kvtest::DialogClicker::clickNext(QDialogButtonBox::No);
    child<QPushButton>("btnSmazat")->click();
    EXPECT_EQ(w->state(), before);
    QString question;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Yes, &question);
    child<QPushButton>("btnSmazat")->click();
    EXPECT_EQ(question, kv::loadStr(86));
    EXPECT_EQ(w->state(), kv::SelectionState());
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_EQ(w->state(), before);
}

TEST_F(SelectionWindowTest, SavedSelectionLoadsBackAndApplies)
{
    activate(Row::Misto);
    pick(QStringLiteral("Praha"));
    activate(Row::Nazev);
    logV(1)->click();
    pick(QStringLiteral("s.r"));
    child<QCheckBox>("cbEmail")->click();
    const kv::SelectionState saved = w->state();

    QTemporaryDir dir;
    const QString typed = dir.filePath(QStringLiteral("vyber"));
    kvtest::DialogClicker::onNext([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->nameFilters().value(0), QStringLiteral("Výběry KV2001 (*.kvv)"));
        // The name goes into the name box as a user types it: selectFile()
        // leaves that box alone while it has the focus, and the dialog would
        // then take its folder for the answer and stay open.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        dialog->setDirectory(dir.path());
        name->setText(QStringLiteral("vyber"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const QString path = kv::askSelectionFile(w.get(), true);
    EXPECT_EQ(path, typed + QStringLiteral(".kvv"));
    ASSERT_TRUE(kv::saveSelectionFile(*w, path));

    w->clearAll();
    ASSERT_TRUE(kv::loadSelectionFile(*w, path));
    EXPECT_EQ(w->state(), saved);
    EXPECT_EQ(w->rowEdit(Row::Misto)->text(), QStringLiteral("Praha"));
    EXPECT_TRUE(child<QCheckBox>("cbEmail")->isChecked());
    EXPECT_TRUE(dm->firms()->filter().contains(QStringLiteral("(misto_id in(2516))")));
    EXPECT_TRUE(dm->firms()->filter().endsWith(QStringLiteral("(email is not null)")));

    // A file of another kind is refused and changes nothing.
    const QString other = dir.filePath(QStringLiteral("stitky.kl"));
    {
        QFile f(other);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Stitky]\r\n");
    }
    const QString filter = dm->firms()->filter();
    QString text;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text);
    EXPECT_FALSE(kv::loadSelectionFile(*w, other));
    EXPECT_EQ(text, kv::loadStr(233) + QStringLiteral("Kvelta 2001"));
    EXPECT_EQ(w->state(), saved);
    EXPECT_EQ(dm->firms()->filter(), filter);
}

} // namespace
