#include "ui/CriterionDetailDialog.h"
#include "ui/IndustrySearchDialog.h"

#include "core/StringTable.h"
#include "engine/TableCursor.h"
#include "tests/support/DialogClicker.h"
#include "tests/ui/SelectionWindowFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace
{

using kv::CriterionDetailDialog;
using kv::IndustrySearchDialog;

class VyberEditingTest : public kvtest::SelectionWindowFixture
{
protected:
    QLabel* pocet() const { return child<QLabel>("lPocet"); }
    // Fills the count label so a test can see whether an edit empties it.
    void count()
    {
        child<QPushButton>("btnSpocitat")->click();
        ASSERT_FALSE(pocet()->text().isEmpty());
    }
    // Clicks the row's "Upravit" and runs action in the detail window,
    // which must close it.
    void editRow(Row row, std::function<void(CriterionDetailDialog&)> action)
    {
        bool ran = false;
        kvtest::DialogClicker::onNext([&](QWidget* modal) {
            auto* d = qobject_cast<CriterionDetailDialog*>(modal);
            ran = true;
            if (!d) {
                ADD_FAILURE() << "the detail window did not open";
                modal->close();
                return;
            }
            action(*d);
            if (d->isVisible()) {
                ADD_FAILURE() << "the detail window was left open";
                d->reject();
            }
        });
        QTest::mouseClick(w->rowButton(row), Qt::LeftButton);
        EXPECT_TRUE(ran);
    }
    // Clicks "Hledat obor", searches for text and presses OK with the given
    // result lines selected.
    void findIndustries(const QString& text, QList<int> rows, QStringList* picked = nullptr)
    {
        bool ran = false;
        kvtest::DialogClicker::onNext([&](QWidget* modal) {
            auto* z = qobject_cast<IndustrySearchDialog*>(modal);
            ran = true;
            if (!z) {
                ADD_FAILURE() << "the search window did not open";
                modal->close();
                return;
            }
            EXPECT_TRUE(z->searchEdit()->text().isEmpty());
            QTest::keyClicks(z->searchEdit(), text);
            QTest::mouseClick(z->findChild<QPushButton*>(QStringLiteral("btnHledej")),
                              Qt::LeftButton);
            QListWidget* lb = z->list();
            for (int r : rows) {
                lb->scrollToItem(lb->item(r));
                QTest::mouseClick(lb->viewport(), Qt::LeftButton, Qt::ControlModifier,
                                  lb->visualItemRect(lb->item(r)).center());
                if (picked)
                    *picked << lb->item(r)->text();
            }
            QTest::mouseClick(z->findChild<QPushButton*>(QStringLiteral("btnOk")), Qt::LeftButton);
            if (z->isVisible()) {
                ADD_FAILURE() << "the search window was left open";
                z->reject();
            }
        });
        QTest::mouseClick(child<QToolButton>("sbFulltext"), Qt::LeftButton);
        EXPECT_TRUE(ran);
    }
    QStringList lines(CriterionDetailDialog& d) const
    {
        QStringList out;
        auto* lb = d.findChild<QListWidget*>(QStringLiteral("lbPop"));
        for (int i = 0; i < lb->count(); ++i)
            out << lb->item(i)->text();
        return out;
    }
    void click(CriterionDetailDialog& d, const char* name)
    {
        QTest::mouseClick(d.findChild<QAbstractButton*>(QLatin1String(name)), Qt::LeftButton);
    }
};

TEST_F(VyberEditingTest, EveryRowActivatesByEditFocusAndLabelClick)
{
    const kv::SelectionState::Row rows[] = {Row::Nazev, Row::Ulice, Row::Zatrid, Row::Misto,
                                            Row::Okres, Row::Ico,   Row::Radky};
    const QString listFields[] = {"txt", "txt", "txt", "misto", "okres", "ico", "txt"};
    count();
    for (int i = 0; i < 7; ++i) {
        const Row other = rows[(i + 1) % 7];
        activate(other);
        QTest::keyClicks(slovnik(), QStringLiteral("x"));
        // Focus entering the edit activates it.
        QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(w->rowEdit(rows[i]), &focus);
        EXPECT_EQ(w->activeRow(), rows[i]) << i;
        EXPECT_TRUE(slovnik()->text().isEmpty()) << i;
        EXPECT_FALSE(slovnik()->isReadOnly());
        EXPECT_TRUE(w->rowEdit(rows[i])->isReadOnly());
        EXPECT_EQ(w->rowEdit(rows[i])->palette().color(QPalette::Base), QColor(Qt::yellow));
        EXPECT_FALSE(w->rowEdit(other)->font().bold()) << i;
        EXPECT_FALSE(pocet()->font().bold()) << "the count label loses bold too";
        // The list shows the row's dictionary whole, from its first entry.
        kv::engine::TableCursor* c = dm->nameDictionary();
        switch (rows[i]) {
        case Row::Ulice:
            c = dm->streetDictionary();
            break;
        case Row::Zatrid:
            c = dm->industries();
            break;
        case Row::Misto:
            c = dm->townDictionary();
            break;
        case Row::Okres:
            c = dm->districtDictionary();
            break;
        case Row::Ico:
            c = dm->icoDictionary();
            break;
        case Row::Radky:
            c = dm->keywordDictionary();
            break;
        default:
            break;
        }
        EXPECT_FALSE(c->isFiltered()) << i;
        ASSERT_GT(list()->model()->rowCount(), 0) << i;
        EXPECT_EQ(list()->model()->index(0, 0).data().toString(),
                  c->fieldAt(1, listFields[i]).toString())
            << i;
        activate(other);
        activate(rows[i]);
        EXPECT_EQ(w->activeRow(), rows[i]) << "label click " << i;
    }
}

TEST_F(VyberEditingTest, LogicSwitchFollowsTheRowOnlyWhenItHasValues)
{
    logV(1)->click();
    activate(Row::Ulice);
    const QString street = pick(QStringLiteral("S"));
    ASSERT_FALSE(street.isEmpty());
    EXPECT_TRUE(w->state().row(Row::Ulice).IsAnd);
    activate(Row::Okres);
    EXPECT_TRUE(logV(0)->isChecked());
    EXPECT_FALSE(child<QGroupBox>("rgLogV")->isEnabled());
    // An empty row keeps the switch as it stands.
    activate(Row::Radky);
    EXPECT_TRUE(logV(0)->isChecked());
    EXPECT_TRUE(child<QGroupBox>("rgLogV")->isEnabled());
    activate(Row::Ulice);
    EXPECT_TRUE(logV(1)->isChecked());
}

TEST_F(VyberEditingTest, IndustryFromTheDictionaryIsKnownByItsCode)
{
    activate(Row::Zatrid);
    const QString first = pick(QStringLiteral("V"));
    ASSERT_FALSE(first.isEmpty());
    pick(QStringLiteral("V"));
    const kv::CriterionValueList& row = w->state().row(Row::Zatrid);
    ASSERT_EQ(row.count(), 1);
    EXPECT_EQ(row.Texts.at(0), first);
    EXPECT_EQ(row.Ids.at(0), dm->industries()->text(QStringLiteral("kod")));
}

TEST_F(VyberEditingTest, FoundIndustriesAreAddedBottomUpSkippingKnownOnes)
{
    logV(1)->click();
    count();
    QStringList first;
    findIndustries(QStringLiteral("stav"), {0, 2}, &first);
    ASSERT_EQ(first.size(), 2);
    const kv::CriterionValueList& row = w->state().row(Row::Zatrid);
    EXPECT_EQ(row.Texts, (QStringList{first[1], first[0]}));
    ASSERT_EQ(row.Ids.size(), 2);
    EXPECT_TRUE(row.IsAnd);
    EXPECT_EQ(w->rowEdit(Row::Zatrid)->text(), first[1] + QStringLiteral(" & ") + first[0]);
    // The row shows its values from the first one, not the end of the last.
    EXPECT_EQ(w->rowEdit(Row::Zatrid)->cursorPosition(), 0);
    EXPECT_TRUE(pocet()->text().isEmpty());
    EXPECT_EQ(w->activeRow(), Row::Zatrid);
    EXPECT_TRUE(w->rowButton(Row::Zatrid)->isEnabled());
    for (int i = 0; i < 2; ++i) {
        const QString sql = QStringLiteral("select kod from zatrid where kod='%1' and txt='%2'")
                                .arg(row.Ids[i], row.Texts[i]);
        EXPECT_EQ(kvtest::demoRowCount(sql), 1) << "the code belongs to the text";
    }

    QStringList second;
    findIndustries(QStringLiteral("stav"), {1, 2}, &second);
    EXPECT_EQ(row.Texts, (QStringList{first[1], first[0], second[0]}));
}

TEST_F(VyberEditingTest, ApostropheInTheIndustrySearchIsDropped)
{
    kvtest::MessageBoxCatcher boxes;
    QStringList picked;
    findIndustries(QStringLiteral("st'av"), {0}, &picked);
    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(u'\n').toStdString();
    ASSERT_EQ(picked.size(), 1);
    EXPECT_TRUE(picked[0].contains(u"stav", Qt::CaseInsensitive));
    EXPECT_EQ(w->state().row(Row::Zatrid).Texts, picked);
}

TEST_F(VyberEditingTest, SearchWindowLivesWhileTheSelectionWindowIsShown)
{
    EXPECT_NE(w->findChild<IndustrySearchDialog*>(), nullptr);
    EXPECT_NE(w->findChild<CriterionDetailDialog*>(), nullptr);
    w->hide();
    EXPECT_EQ(w->findChild<IndustrySearchDialog*>(), nullptr);
    EXPECT_EQ(w->findChild<CriterionDetailDialog*>(), nullptr);
    w->show();
    EXPECT_NE(w->findChild<IndustrySearchDialog*>(), nullptr);
}

TEST_F(VyberEditingTest, DeleteInTheDetailWindowEmptiesTheCount)
{
    logV(1)->click();
    const QString a = pick(QStringLiteral("s.r"));
    const QString b = pick(QStringLiteral("a.s"));
    ASSERT_NE(a, b);
    count();
    const QString counted = pocet()->text();

    // Confirming without a change keeps the count; the and-flag is shown.
    editRow(Row::Nazev, [&](CriterionDetailDialog& d) {
        EXPECT_EQ(d.lPopis()->text(), w->rowLabel(Row::Nazev)->text());
        EXPECT_EQ(lines(d), (QStringList{a, b}));
        EXPECT_TRUE(d.findChild<QRadioButton*>(QStringLiteral("rgLog1"))->isChecked());
        click(d, "btnOk");
    });
    EXPECT_EQ(pocet()->text(), counted);
    EXPECT_EQ(w->state().row(Row::Nazev).count(), 2);
    EXPECT_EQ(w->activeRow(), Row::Nazev);

    editRow(Row::Nazev, [&](CriterionDetailDialog& d) {
        click(d, "btnSmazat");
        click(d, "btnOk");
    });
    EXPECT_TRUE(pocet()->text().isEmpty());
    EXPECT_EQ(w->state().row(Row::Nazev).Texts, QStringList{b});
    EXPECT_EQ(w->rowEdit(Row::Nazev)->text(), b);

    // The last value goes: the edit empties and its button is disabled.
    editRow(Row::Nazev, [&](CriterionDetailDialog& d) {
        click(d, "btnSmazat");
        click(d, "btnOk");
    });
    EXPECT_EQ(w->state().row(Row::Nazev).count(), 0);
    EXPECT_TRUE(w->rowEdit(Row::Nazev)->text().isEmpty());
    EXPECT_FALSE(w->rowButton(Row::Nazev)->isEnabled());
}

TEST_F(VyberEditingTest, LogicSwitchInTheDetailWindowRedrawsTheRow)
{
    logV(0)->click();
    const QString a = pick(QStringLiteral("s.r"));
    const QString b = pick(QStringLiteral("a.s"));
    count();
    editRow(Row::Nazev, [&](CriterionDetailDialog& d) {
        click(d, "rgLog1");
        click(d, "btnOk");
    });
    EXPECT_TRUE(w->state().row(Row::Nazev).IsAnd);
    EXPECT_EQ(w->rowEdit(Row::Nazev)->text(), a + QStringLiteral(" & ") + b);
    EXPECT_TRUE(pocet()->text().isEmpty());
    EXPECT_TRUE(logV(1)->isChecked()) << "the row is active again with its flag";
}

TEST_F(VyberEditingTest, TownRowIsEditedWithTheLogicFixedToOr)
{
    activate(Row::Misto);
    pick(QStringLiteral("Praha"));
    pick(QStringLiteral("Brno"));
    ASSERT_EQ(w->state().row(Row::Misto).count(), 2);
    editRow(Row::Misto, [&](CriterionDetailDialog& d) {
        EXPECT_FALSE(d.findChild<QGroupBox*>(QStringLiteral("rgLog"))->isEnabled());
        EXPECT_TRUE(d.findChild<QRadioButton*>(QStringLiteral("rgLog0"))->isChecked());
        click(d, "btnOk");
    });
    EXPECT_FALSE(w->state().row(Row::Misto).IsAnd);
    EXPECT_EQ(w->rowEdit(Row::Misto)->text(), QStringLiteral("Praha | Brno"));

    // The switch is free again for the next row.
    activate(Row::Nazev);
    pick(QStringLiteral("s.r"));
    editRow(Row::Nazev, [&](CriterionDetailDialog& d) {
        EXPECT_TRUE(d.findChild<QGroupBox*>(QStringLiteral("rgLog"))->isEnabled());
        click(d, "btnOk");
    });
}

TEST_F(VyberEditingTest, CancelInTheDetailWindowKeepsTheRow)
{
    logV(1)->click();
    const QString a = pick(QStringLiteral("s.r"));
    const QString b = pick(QStringLiteral("a.s"));
    count();
    const QString counted = pocet()->text();
    const kv::CriterionValueList before = w->state().row(Row::Nazev);
    editRow(Row::Nazev, [&](CriterionDetailDialog& d) {
        click(d, "btnSmazat");
        click(d, "rgLog0");
        click(d, "btnZrusit");
    });
    EXPECT_EQ(w->state().row(Row::Nazev), before);
    EXPECT_EQ(w->rowEdit(Row::Nazev)->text(), a + QStringLiteral(" & ") + b);
    EXPECT_EQ(pocet()->text(), counted);

    // The next showing starts from the row, not from the cancelled edit.
    editRow(Row::Nazev, [&](CriterionDetailDialog& d) {
        EXPECT_EQ(lines(d), (QStringList{a, b}));
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(w->state().row(Row::Nazev), before);
}

TEST_F(VyberEditingTest, HidingTheSelectionWindowUnderAnOpenDetailWindowIsSafe)
{
    pick(QStringLiteral("s.r"));
    bool ran = false;
    kvtest::DialogClicker::onNext([&](QWidget* modal) {
        ran = qobject_cast<CriterionDetailDialog*>(modal) != nullptr;
        w->hide();
    });
    QTest::mouseClick(w->rowButton(Row::Nazev), Qt::LeftButton);
    EXPECT_TRUE(ran);
    EXPECT_EQ(w->findChild<CriterionDetailDialog*>(), nullptr);
    EXPECT_EQ(w->state().row(Row::Nazev).count(), 1);
}

} // namespace
