#include "ui/FilteredLineEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

using kv::FilteredLineEdit;

namespace
{

struct DigitEdit {
    FilteredLineEdit edit;
    DigitEdit()
    {
        edit.setEnabledKey("0123456789");
        edit.show();
        edit.setFocus();
    }
};

TEST(FilteredLineEdit, TypingKeepsOnlyEnabledKeys)
{
    DigitEdit d;
    QTest::keyClicks(&d.edit, "1a2-3, 4x");
    EXPECT_EQ(d.edit.text(), "1234");
    QTest::keyClick(&d.edit, Qt::Key_Backspace);
    EXPECT_EQ(d.edit.text(), "123");
    QTest::keyClick(&d.edit, Qt::Key_Home);
    QTest::keyClick(&d.edit, Qt::Key_Delete);
    EXPECT_EQ(d.edit.text(), "23");
}

TEST(FilteredLineEdit, CodesAbove127NeverEnter)
{
    FilteredLineEdit edit;
    edit.setEnabledKey("aé");
    EXPECT_TRUE(edit.isAllowed('a'));
    EXPECT_FALSE(edit.isAllowed(QChar(0xE9)));
    EXPECT_EQ(edit.filtered("aébé"), "a");
}

TEST(FilteredLineEdit, PasteIsFilteredLikeTyping)
{
    DigitEdit d;
    QApplication::clipboard()->setText("Zoom: 1 5-0 %");
    QTest::keyClick(&d.edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(d.edit.text(), "150");
    d.edit.clear();
    QApplication::clipboard()->setText("abc");
    d.edit.pasteFiltered();
    EXPECT_EQ(d.edit.text(), "");
}

TEST(FilteredLineEdit, TextSetByTheProgramIsNotFiltered)
{
    DigitEdit d;
    d.edit.setText("12 %");
    EXPECT_EQ(d.edit.text(), "12 %");
}

} // namespace
