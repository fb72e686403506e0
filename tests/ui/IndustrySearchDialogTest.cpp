#include "ui/IndustrySearchDialog.h"

#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "engine/TableCursor.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DialogClicker.h"
#include "tests/ui/SelectionWindowFixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace
{

class IndustrySearchDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kv::settings().dataHome = kvtest::selectionDemoHome();
        dm = std::make_unique<kv::DataModule>();
        ASSERT_EQ(dm->openDatabase().status, kv::DataModule::OpenStatus::Opened);
        z = std::make_unique<kv::IndustrySearchDialog>(*dm);
        z->show();
    }
    void TearDown() override
    {
        z.reset();
        dm.reset();
    }
    QListWidget* lb() const { return z->list(); }
    QPushButton* button(const char* name) const
    {
        return z->findChild<QPushButton*>(QLatin1String(name));
    }
    void searchFor(const QString& text)
    {
        z->searchEdit()->clear();
        QTest::keyClicks(z->searchEdit(), text);
        QTest::keyClick(z->searchEdit(), Qt::Key_Return);
    }
    // Every industry of the dictionary whose text contains part, any case.
    int dictionaryCount(const QString& part) const
    {
        int n = 0;
        for (int p = 1; p <= dm->industries()->recordCount(); ++p)
            n += dm->industries()
                     ->fieldAt(p, QStringLiteral("txt"))
                     .toString()
                     .contains(part, Qt::CaseInsensitive);
        return n;
    }
    void hover(int row)
    {
        const QPoint at = lb()->visualItemRect(lb()->item(row)).center();
        QMouseEvent move(QEvent::MouseMove, at, lb()->viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(lb()->viewport(), &move);
    }

    std::unique_ptr<kv::DataModule> dm;
    std::unique_ptr<kv::IndustrySearchDialog> z;
};

TEST_F(IndustrySearchDialogTest, ShowListsTheWholeDictionaryWithCodes)
{
    EXPECT_EQ(z->windowTitle(), kv::loadStr(175));
    EXPECT_EQ(button("btnHledej")->text(), kv::loadStr(176));
    EXPECT_EQ(z->findChild<QLabel*>(QStringLiteral("lSlovnikzatrid"))->text(), kv::loadStr(199));
    const int n = dm->industries()->recordCount();
    ASSERT_GT(n, 10);
    ASSERT_EQ(lb()->count(), n);
    for (int row : {0, n - 1}) {
        lb()->clearSelection();
        lb()->item(row)->setSelected(true);
        const auto picked = z->selectedEntries();
        ASSERT_EQ(picked.size(), 1);
        EXPECT_EQ(picked[0].text,
                  dm->industries()->fieldAt(row + 1, QStringLiteral("txt")).toString());
        EXPECT_EQ(picked[0].code,
                  dm->industries()->fieldAt(row + 1, QStringLiteral("kod")).toInt());
    }
}

TEST_F(IndustrySearchDialogTest, SearchFindsTheWordAnywhereOrderedByCode)
{
    searchFor(QStringLiteral("stav"));
    const int n = lb()->count();
    ASSERT_GT(n, 2);
    EXPECT_EQ(n, dictionaryCount(QStringLiteral("stav")));
    bool inside = false;
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(lb()->item(i)->text().contains(u"stav", Qt::CaseInsensitive));
        inside = inside || !lb()->item(i)->text().startsWith(u"stav", Qt::CaseInsensitive);
    }
    EXPECT_TRUE(inside) << "not only at the beginning";
    for (int i = 0; i < n; ++i)
        lb()->item(i)->setSelected(true);
    const auto all = z->selectedEntries();
    for (int i = 1; i < all.size(); ++i)
        EXPECT_LT(QString::number(all[i - 1].code), QString::number(all[i].code))
            << "ordered by the code field, not by text";

    // The button searches too; an empty text lists every industry.
    z->searchEdit()->clear();
    QTest::mouseClick(button("btnHledej"), Qt::LeftButton);
    EXPECT_EQ(lb()->count(), dm->industries()->recordCount());
}

TEST_F(IndustrySearchDialogTest, ApostropheNeverReachesTheStatement)
{
    kvtest::MessageBoxCatcher boxes;
    searchFor(QStringLiteral("st'av"));
    EXPECT_EQ(z->searchEdit()->text(), QStringLiteral("stav"));
    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(u'\n').toStdString();
    EXPECT_EQ(lb()->count(), dictionaryCount(QStringLiteral("stav")));

    // Pasted in one piece as well.
    z->searchEdit()->setText(QStringLiteral("'"));
    QTest::keyClick(z->searchEdit(), Qt::Key_Return);
    EXPECT_TRUE(z->searchEdit()->text().isEmpty());
    EXPECT_TRUE(boxes.texts.isEmpty());
    EXPECT_EQ(lb()->count(), dm->industries()->recordCount());
}

TEST_F(IndustrySearchDialogTest, OkWithNothingSelectedWarnsAndStaysOpen)
{
    lb()->clearSelection();
    QString text, title;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text, &title);
    QTest::mouseClick(button("btnOk"), Qt::LeftButton);
    EXPECT_EQ(text, kv::loadStr(245));
    EXPECT_EQ(title, kv::loadStr(80));
    EXPECT_TRUE(z->isVisible());

    // A search that finds nothing leaves nothing to select.
    searchFor(QStringLiteral("Qxqxq"));
    EXPECT_EQ(lb()->count(), 0);
    text.clear();
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text);
    QTest::mouseClick(button("btnOk"), Qt::LeftButton);
    EXPECT_EQ(text, kv::loadStr(245));
    EXPECT_TRUE(z->isVisible());

    searchFor(QString());
    lb()->item(0)->setSelected(true);
    QTest::mouseClick(button("btnOk"), Qt::LeftButton);
    EXPECT_FALSE(z->isVisible());
    EXPECT_EQ(z->result(), QDialog::Accepted);
}

TEST_F(IndustrySearchDialogTest, LongTextShowsTheHintAndShortTextNone)
{
    const QFontMetrics fm(lb()->font());
    int longRow = -1, shortRow = -1;
    for (int i = 0; i < lb()->count(); ++i) {
        const int width = fm.horizontalAdvance(lb()->item(i)->text());
        if (width > lb()->width() - 28 && longRow < 0)
            longRow = i;
        if (width < lb()->width() / 2 && shortRow < 0)
            shortRow = i;
    }
    ASSERT_GE(longRow, 0);
    ASSERT_GE(shortRow, 0);
    lb()->scrollToItem(lb()->item(longRow));
    hover(longRow);
    EXPECT_TRUE(z->hintShown());
    EXPECT_EQ(z->hintIndex(), longRow);
    auto* hint = z->findChild<QLabel*>(QStringLiteral("hint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->text(), lb()->item(longRow)->text());
    EXPECT_LE(hint->width(), 520);
    EXPECT_EQ(hint->x(), z->mapToGlobal(QPoint(0, 0)).x());

    lb()->scrollToItem(lb()->item(shortRow));
    hover(shortRow);
    EXPECT_FALSE(z->hintShown());
    EXPECT_EQ(z->hintIndex(), -1);

    lb()->scrollToItem(lb()->item(longRow));
    hover(longRow);
    EXPECT_TRUE(z->hintShown());
    z->hide();
    EXPECT_FALSE(z->hintShown()) << "hiding the window hides the hint";
}

// A name wider than the list ends at its edge whether or not it comes
// first: the list never scrolls sideways.
TEST_F(IndustrySearchDialogTest, LongNamesEndAtTheListsEdgeWithoutSidewaysScrolling)
{
    const QFontMetrics fm(lb()->font());
    QString longest;
    for (int i = 0; i < lb()->count(); ++i)
        if (fm.horizontalAdvance(lb()->item(i)->text()) > fm.horizontalAdvance(longest))
            longest = lb()->item(i)->text();
    ASSERT_GT(fm.horizontalAdvance(longest), lb()->viewport()->width());
    for (const QString& text : {longest.left(longest.size() - 2), QStringLiteral("a")}) {
        z->searchEdit()->setText(text); // letters QTest cannot type
        QTest::keyClick(z->searchEdit(), Qt::Key_Return);
        QApplication::processEvents(); // the list lays its rows out
        ASSERT_GT(lb()->count(), 0) << text.toStdString();
        EXPECT_EQ(lb()->horizontalScrollBar()->maximum(), 0) << text.toStdString();
    }
}

} // namespace
