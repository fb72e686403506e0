// The company list window: follows TFirma both ways, draws paid entries bold
// and the current line white on blue, and can be closed and opened again.
#include "ui/FirmListWindow.h"
#include "core/Settings.h"
#include "domain/FirmListModel.h"
#include "tests/support/CompanyDb.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

const QRgb Blue = qRgb(0, 0, 255);

struct RowInk {
    int pixels = 0;    // pixels that differ from the row's background
    int leftmost = -1; // x of the leftmost of them
    bool white = false;
};

// Looks at one grid row as painted: background is the colour at its right end.
RowInk inkOf(const QImage& image, const QRect& row, QRgb* background = nullptr)
{
    const QRgb back = image.pixel(image.width() - 2, row.center().y());
    if (background)
        *background = back;
    RowInk ink;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == back)
                continue;
            ++ink.pixels;
            if (ink.leftmost < 0 || x < ink.leftmost)
                ink.leftmost = x;
            ink.white = ink.white || p == qRgb(255, 255, 255);
        }
    return ink;
}

class ListWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.listSet();
        db.openDataModule();
    }
    QString selectedName(const kv::FirmListWindow& list) const
    {
        const QModelIndexList rows = list.grid()->selectionModel()->selectedRows();
        if (rows.size() != 1)
            return QStringLiteral("<%1 selected>").arg(rows.size());
        return rows[0].data().toString().section(QStringLiteral("; "), 0, 0);
    }
    int selectedRow(const kv::FirmListWindow& list) const
    {
        const QModelIndexList rows = list.grid()->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows[0].row() : -1;
    }
    QImage paintedGrid(kv::FirmListWindow& list) const
    {
        return list.grid()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    kvtest::CompanyDb db{kvtest::CompanyDb::Where::DataHome};
};

TEST_F(ListWindow, CaptionSizeAndGridLook)
{
    {
        kv::FirmListWindow list(&db.dm(), nullptr);
        EXPECT_EQ(list.windowTitle(), "Seznam firem");
        EXPECT_EQ(list.size(), QSize(308, 499));
        EXPECT_EQ(list.sizeHint(), QSize(308, 499));
        QTableView* grid = list.findChild<QTableView*>(QStringLiteral("Grid"));
        ASSERT_EQ(grid, list.grid());
        ASSERT_NE(list.findChild<QWidget*>(QStringLiteral("panMain")), nullptr);
        EXPECT_EQ(grid->parentWidget()->objectName(), "panMain");
        EXPECT_FALSE(grid->horizontalHeader()->isVisible());
        EXPECT_FALSE(grid->verticalHeader()->isVisible());
        EXPECT_FALSE(grid->showGrid());
        EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(grid->selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_EQ(grid->model()->columnCount(), 1);

        kv::settings().langBase = 500;
        list.applyTexts();
        EXPECT_EQ(list.windowTitle(), "List of Companies");
    }
}

TEST_F(ListWindow, NewWindowShowsTheCurrentFirmSelected)
{
    db.firms().setPosition(4); // Delta
    kv::FirmListWindow list(&db.dm(), nullptr);
    EXPECT_EQ(selectedName(list), "Delta");
    EXPECT_EQ(list.grid()->currentIndex().row(), 3);
    EXPECT_EQ(db.firms().position(), 4); // opening moved nothing
}

TEST_F(ListWindow, ChoosingALineMovesTheCursor)
{
    kv::FirmListWindow list(&db.dm(), nullptr);
    list.show();
    QSignalSpy moved(&db.dm(), &kv::DataModule::firmMoved);
    const QRect fourth = list.grid()->visualRect(list.model()->index(3, 0));
    QTest::mouseClick(list.grid()->viewport(), Qt::LeftButton, {}, fourth.center());
    EXPECT_EQ(db.firms().position(), 4);
    EXPECT_EQ(moved.count(), 1); // no echo back from the list
    EXPECT_EQ(selectedName(list), "Delta");

    list.grid()->setFocus();
    QTest::keyClick(list.grid(), Qt::Key_Down);
    EXPECT_EQ(db.firms().position(), 5);
    QTest::keyClick(list.grid(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(db.firms().position(), 1);
    EXPECT_EQ(selectedName(list), "Alfa");
}

TEST_F(ListWindow, MovesElsewhereMoveTheLine)
{
    kv::FirmListWindow list(&db.dm(), nullptr);
    db.firms().setPosition(5);
    EXPECT_EQ(selectedName(list), "Gama");
    db.firms().last();
    db.firms().prior();
    EXPECT_EQ(selectedName(list), "Delta");
}

TEST_F(ListWindow, SortReordersTheLinesAndTheSelectionFollows)
{
    kv::FirmListWindow list(&db.dm(), nullptr);
    list.show();
    db.firms().setPosition(4); // Delta, 4th by name
    db.firms().setSort(QStringLiteral("misto"));
    // The cursor stands on the first firm of the new order: Gama (Aš).
    EXPECT_EQ(selectedRow(list), 0);
    EXPECT_EQ(selectedName(list), "Gama");
    EXPECT_EQ(list.model()->index(2, 0).data().toString().left(5), "Delta");

    db.firms().setPosition(5);
    EXPECT_EQ(selectedName(list), "Beta");
    db.firms().setSort(QStringLiteral("nazev"));
    EXPECT_EQ(selectedName(list), "Alfa");
}

TEST_F(ListWindow, FilterChangesAndAnEmptySet)
{
    kv::FirmListWindow list(&db.dm(), nullptr);
    db.firms().setFilter(QStringLiteral("(peno in(12345))"));
    EXPECT_EQ(list.model()->rowCount(), 0);
    EXPECT_EQ(selectedRow(list), -1);
    EXPECT_NO_THROW(paintedGrid(list));
    db.firms().setFilter(QStringLiteral("(peno in(3,4))"));
    EXPECT_EQ(list.model()->rowCount(), 2);
    EXPECT_EQ(selectedName(list), "Delta");
}

TEST_F(ListWindow, EveryAddressPartOffShowsOnlyNames)
{
    kv::FirmListWindow list(&db.dm(), nullptr);
    EXPECT_EQ(list.model()->index(0, 0).data().toString(),
              QString::fromUtf8("Alfa; Krátká 1; Brno; 60200; Brno-město"));
    for (int flag : {kv::NastUlice, kv::NastMisto, kv::NastPsc, kv::NastOkres})
        kv::settings().nast[flag] = false;
    db.dm().reopenAfterSettings();
    list.repaintList();
    QStringList lines;
    for (int row = 0; row < list.model()->rowCount(); ++row)
        lines << list.model()->index(row, 0).data().toString();
    EXPECT_EQ(lines, QStringList({"Alfa", "Beta", QString::fromUtf8("Čeněk"), "Delta", "Gama"}));
}

TEST_F(ListWindow, SelectedLineIsWhiteOnBlueWhileAnotherWindowHasFocus)
{
    kv::FirmListWindow list(&db.dm(), nullptr);
    list.show();
    db.firms().setPosition(2); // Beta
    QLineEdit other;
    other.show();
    other.activateWindow();
    other.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_FALSE(list.grid()->hasFocus());

    const QImage image = paintedGrid(list);
    const QRect selected = list.grid()->visualRect(list.model()->index(1, 0));
    const QRect plain = list.grid()->visualRect(list.model()->index(2, 0));
    QRgb back = 0;
    const RowInk selectedInk = inkOf(image, selected, &back);
    EXPECT_EQ(back, Blue);
    EXPECT_EQ(image.pixel(0, selected.top()), Blue); // the bar starts at the left edge
    EXPECT_TRUE(selectedInk.white);
    EXPECT_GT(selectedInk.pixels, 0);
    inkOf(image, plain, &back);
    EXPECT_EQ(back, list.grid()->palette().color(QPalette::Button).rgb());
}

TEST_F(ListWindow, PaidLineIsBoldAndTextStartsAtTheCellEdge)
{
    // Two firms of the same name, 7 paid, 8 not: only the weight differs.
    db.firms().setFilter(QStringLiteral("(peno in(7,8))"));
    kv::FirmListWindow list(&db.dm(), nullptr);
    list.show();
    ASSERT_EQ(list.model()->rowCount(), 2);
    const QImage image = paintedGrid(list);
    const RowInk paid = inkOf(image, list.grid()->visualRect(list.model()->index(0, 0)));
    db.firms().setPosition(2); // the same colours for both rows to compare
    const QImage image2 = paintedGrid(list);
    const RowInk unpaid = inkOf(image2, list.grid()->visualRect(list.model()->index(1, 0)));
    const RowInk paidUnselected = inkOf(image2, list.grid()->visualRect(list.model()->index(0, 0)));
    ASSERT_GT(unpaid.pixels, 0);
    EXPECT_GT(paidUnselected.pixels, unpaid.pixels * 11 / 10);
    EXPECT_GT(paid.pixels, 0);
    // No left margin: a default item delegate starts text several pixels in.
    EXPECT_LE(unpaid.leftmost, 2);
}

TEST_F(ListWindow, DeleteAsksForExclusionAndThePopupIsTheContextMenu)
{
    QMenu popup;
    popup.addAction(QStringLiteral("Vyřadit"));
    kv::FirmListWindow list(&db.dm(), &popup);
    list.show();
    QSignalSpy exclude(&list, &kv::FirmListWindow::excludeRequested);
    list.grid()->setFocus();
    QTest::keyClick(list.grid(), Qt::Key_Delete);
    EXPECT_EQ(exclude.count(), 1);
    EXPECT_EQ(db.firms().position(), 1);
    QTest::keyClick(list.grid(), Qt::Key_Down);
    EXPECT_EQ(exclude.count(), 1);

    emit list.grid()->customContextMenuRequested(QPoint(4, 4));
    EXPECT_TRUE(popup.isVisible());
    popup.hide();

    kv::FirmListWindow bare(&db.dm(), nullptr);
    EXPECT_NO_FATAL_FAILURE(emit bare.grid()->customContextMenuRequested(QPoint(4, 4)));
}

TEST_F(ListWindow, ClosedWindowIsGoneAndCursorMovesStillWork)
{
    QMdiArea area;
    area.show();
    auto* list = new kv::FirmListWindow(&db.dm(), nullptr);
    QPointer<kv::FirmListWindow> guard(list);
    QMdiSubWindow* sub = area.addSubWindow(list);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    EXPECT_TRUE(list->isVisible());
    sub->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());

    db.firms().setPosition(3);
    db.firms().next();
    db.firms().setSort(QStringLiteral("misto"));
    db.firms().setPosition(5); // Beta by town
    db.dm().reopenAfterSettings();
    db.firms().setPosition(5);

    kv::FirmListWindow again(&db.dm(), nullptr);
    EXPECT_EQ(selectedName(again), "Beta");
}

TEST(ListWindowLarge, MovedCursorScrollsItsLineIntoView)
{
    kvtest::CompanyDb db{kvtest::CompanyDb::Where::DataHome};
    db.manyFirms(500);
    db.openDataModule(QString());
    kv::FirmListWindow list(&db.dm(), nullptr);
    list.show();
    ASSERT_EQ(list.model()->rowCount(), 500);
    db.firms().setPosition(420);
    const QRect line = list.grid()->visualRect(list.model()->index(419, 0));
    EXPECT_TRUE(list.grid()->viewport()->rect().contains(line));
    EXPECT_EQ(list.grid()->horizontalScrollBar()->value(), 0);
    // The column shows the whole of every visible line.
    const QString text = list.model()->index(419, 0).data().toString();
    QFont bold = list.grid()->font();
    bold.setBold(true);
    EXPECT_GE(list.grid()->columnWidth(0), QFontMetrics(bold).horizontalAdvance(text));
    EXPECT_GE(list.grid()->columnWidth(0), list.grid()->viewport()->width());

    db.firms().first();
    EXPECT_EQ(list.grid()->verticalScrollBar()->value(), 0);
}

} // namespace
