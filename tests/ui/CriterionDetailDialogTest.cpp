#include "ui/CriterionDetailDialog.h"

#include "core/StringTable.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

class CriterionDetailDialogTest : public ::testing::Test
{
protected:
    // Shows the window for n values "v1".."vn" (ids "1".."n").
    void showWith(int n, bool isAnd = true)
    {
        d.WorkList.clear();
        for (int i = 1; i <= n; ++i)
            d.WorkList.add(QStringLiteral("v%1").arg(i), QString::number(i));
        d.WorkList.IsAnd = isAnd;
        d.show();
    }
    template <class T> T* child(const char* name) const
    {
        T* found = d.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QListWidget* lb() const { return child<QListWidget>("lbPop"); }
    QPushButton* smazat() const { return child<QPushButton>("btnSmazat"); }
    QRadioButton* logic(int i) const { return child<QRadioButton>(i ? "rgLog1" : "rgLog0"); }
    QStringList lines() const
    {
        QStringList out;
        for (int i = 0; i < lb()->count(); ++i)
            out << lb()->item(i)->text();
        return out;
    }

    kv::CriterionDetailDialog d;
};

TEST_F(CriterionDetailDialogTest, ShowsTheValuesAndTheRowFlagWithoutCountingAsChange)
{
    showWith(3, true);
    EXPECT_EQ(d.size(), QSize(319, 429));
    EXPECT_EQ(d.windowTitle(), kv::loadStr(77));
    EXPECT_EQ(smazat()->text(), kv::loadStr(78));
    EXPECT_EQ(logic(0)->text(), QStringLiteral("nebo"));
    EXPECT_TRUE(child<QPushButton>("btnOk")->isDefault());
    EXPECT_EQ(lines(), (QStringList{"v1", "v2", "v3"}));
    EXPECT_EQ(lb()->currentRow(), 0);
    EXPECT_TRUE(logic(1)->isChecked());
    EXPECT_FALSE(d.Changed);

    child<QPushButton>("btnOk")->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(d.Changed);
    EXPECT_TRUE(d.WorkList.IsAnd);
    EXPECT_EQ(d.WorkList.count(), 3);
}

TEST_F(CriterionDetailDialogTest, DeleteMovesTheSelectionToTheNextOrLastLine)
{
    showWith(5);
    lb()->setCurrentRow(2);
    QTest::mouseClick(smazat(), Qt::LeftButton);
    EXPECT_TRUE(d.Changed);
    EXPECT_EQ(lines(), (QStringList{"v1", "v2", "v4", "v5"}));
    EXPECT_EQ(d.WorkList.Texts, lines());
    EXPECT_EQ(d.WorkList.Ids, (QStringList{"1", "2", "4", "5"}));
    EXPECT_EQ(lb()->currentRow(), 2) << "the new third value";
    EXPECT_TRUE(lb()->currentItem()->isSelected());

    lb()->setCurrentRow(3);
    QTest::keyClick(lb(), Qt::Key_Delete);
    EXPECT_EQ(lines(), (QStringList{"v1", "v2", "v4"}));
    EXPECT_EQ(lb()->currentRow(), 2) << "the new last value";
    EXPECT_TRUE(lb()->currentItem()->isSelected());
}

TEST_F(CriterionDetailDialogTest, DeletingTheLastValueDisablesListAndButton)
{
    showWith(1);
    QTest::mouseClick(smazat(), Qt::LeftButton);
    EXPECT_EQ(lb()->count(), 0);
    EXPECT_FALSE(lb()->isEnabled());
    EXPECT_FALSE(smazat()->isEnabled());
    // Delete with nothing left does nothing.
    d.btnSmazatClick();
    EXPECT_EQ(d.WorkList.count(), 0);
    child<QPushButton>("btnOk")->click();
    EXPECT_EQ(d.WorkList.count(), 0);
    EXPECT_TRUE(d.Changed);

    d.WorkList.clear();
    d.show();
    EXPECT_FALSE(lb()->isEnabled()) << "an empty row shows a disabled list";
    EXPECT_FALSE(smazat()->isEnabled());
}

TEST_F(CriterionDetailDialogTest, DeleteWithoutSelectedLineDoesNothing)
{
    showWith(2);
    lb()->clearSelection();
    d.btnSmazatClick();
    EXPECT_EQ(d.WorkList.count(), 2);
    EXPECT_FALSE(d.Changed);
}

TEST_F(CriterionDetailDialogTest, LogicSwitchIsAChangeAndOkTakesIt)
{
    showWith(2, false);
    EXPECT_TRUE(logic(0)->isChecked());
    QTest::mouseClick(logic(1), Qt::LeftButton);
    EXPECT_TRUE(d.Changed);
    EXPECT_FALSE(d.WorkList.IsAnd) << "taken over only by OK";
    child<QPushButton>("btnOk")->click();
    EXPECT_TRUE(d.WorkList.IsAnd);
}

TEST_F(CriterionDetailDialogTest, CancelAndEscapeRestoreTheListAsShown)
{
    showWith(3, true);
    QTest::mouseClick(smazat(), Qt::LeftButton);
    QTest::mouseClick(logic(0), Qt::LeftButton);
    child<QPushButton>("btnZrusit")->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(d.WorkList.Texts, (QStringList{"v1", "v2", "v3"}));
    EXPECT_EQ(d.WorkList.Ids, (QStringList{"1", "2", "3"}));
    EXPECT_TRUE(d.WorkList.IsAnd);
    EXPECT_EQ(lines(), d.WorkList.Texts);

    showWith(2, false);
    QTest::mouseClick(smazat(), Qt::LeftButton);
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.WorkList.count(), 2);
    EXPECT_FALSE(d.WorkList.IsAnd);
}

// A value wider than the list ends at its edge; no sideways scrolling, the
// tooltip holds the whole value.
TEST_F(CriterionDetailDialogTest, LongValuesEndAtTheListsEdgeWithTheirTextAsTooltip)
{
    const QString wide = QStringLiteral("Pronájem a leasing leteckých dopravních prostředků "
                                        "a dalších strojů a zařízení");
    d.WorkList.clear();
    d.WorkList.add(QStringLiteral("v1"), QStringLiteral("1"));
    d.WorkList.add(wide, QStringLiteral("2"));
    d.show();
    QApplication::processEvents(); // the list lays its rows out
    ASSERT_GT(lb()->fontMetrics().horizontalAdvance(wide), lb()->viewport()->width());
    EXPECT_EQ(lb()->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(lb()->item(1)->toolTip(), wide);
}

} // namespace
