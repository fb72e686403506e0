// The list model over TFirma: lines in the cursor's order, bold for paid
// entries, and keeping in step with filter, sort, reopen and close; on
// SQLite and, in test_domain_pg, on the server.
#include "domain/FirmListModel.h"
#include "core/Settings.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/TestBackend.h"

#include <QFont>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace
{

class ListModel : public ::testing::TestWithParam<kvtest::BackendCase>
{
protected:
    void SetUp() override
    {
        db.listSet();
        kvtest::serveCompanyData(db, GetParam());
        db.openDataModule();
    }
    QString line(const kv::FirmListModel& m, int row) const
    {
        return m.data(m.index(row, 0)).toString();
    }
    QStringList names(const kv::FirmListModel& m) const
    {
        QStringList out;
        for (int row = 0; row < m.rowCount(); ++row)
            out << line(m, row).section(QStringLiteral("; "), 0, 0);
        return out;
    }
    bool bold(const kv::FirmListModel& m, int row) const
    {
        const QVariant v = m.data(m.index(row, 0), Qt::FontRole);
        return v.isValid() && qvariant_cast<QFont>(v).bold();
    }

    kvtest::CompanyDb db{kvtest::CompanyDb::Where::DataHome};
};

TEST_P(ListModel, OneColumnOneLinePerFirmInCursorOrder)
{
    kv::FirmListModel model(&db.dm());
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.columnCount(), 1);
    EXPECT_EQ(names(model),
              QStringList({"Alfa", "Beta", QString::fromUtf8("Čeněk"), "Delta", "Gama"}));
    EXPECT_EQ(line(model, 0), QString::fromUtf8("Alfa; Krátká 1; Brno; 60200; Brno-město"));
    // An empty street keeps its place between the separators.
    EXPECT_EQ(line(model, 4), QString::fromUtf8("Gama; ; Aš; 35201; Cheb"));
    EXPECT_FALSE(model.data(model.index(5, 0)).isValid());
}

TEST_P(ListModel, PaidEntriesAreBoldOthersUseTheViewFont)
{
    kv::FirmListModel model(&db.dm());
    EXPECT_TRUE(bold(model, 0));                                         // Alfa, "A"
    EXPECT_FALSE(model.data(model.index(1, 0), Qt::FontRole).isValid()); // Beta, empty
    EXPECT_TRUE(bold(model, 4));                                         // Gama, any other mark
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::ToolTipRole).isValid());
}

TEST_P(ListModel, ReadingALineNeitherMovesTheCursorNorNotifies)
{
    kv::FirmListModel model(&db.dm());
    db.firms().setPosition(2);
    QSignalSpy moved(&db.dm(), &kv::DataModule::firmMoved);
    EXPECT_EQ(line(model, 4).left(4), "Gama");
    EXPECT_EQ(db.firms().position(), 2);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(model.currentRow(), 1);
}

TEST_P(ListModel, SortWithTheSameCountRefreshesTextsWithoutReset)
{
    kv::FirmListModel model(&db.dm());
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy newSet(&model, &kv::FirmListModel::setChanged);
    db.firms().setSort(QStringLiteral("misto"));
    EXPECT_EQ(reset.count(), 0);
    ASSERT_GE(changed.count(), 1);
    EXPECT_EQ(changed.last().at(0).value<QModelIndex>().row(), 0);
    EXPECT_EQ(changed.last().at(1).value<QModelIndex>().row(), 4);
    EXPECT_EQ(newSet.count(), 1);
    EXPECT_EQ(names(model),
              QStringList({"Gama", "Alfa", "Delta", QString::fromUtf8("Čeněk"), "Beta"}));
    EXPECT_TRUE(bold(model, 0));
    EXPECT_FALSE(bold(model, 2));

    // A plain move is no new set.
    db.firms().setPosition(3);
    EXPECT_EQ(newSet.count(), 1);
    EXPECT_EQ(model.currentRow(), 2);
}

TEST_P(ListModel, FilterChangingTheCountResets)
{
    kv::FirmListModel model(&db.dm());
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    db.firms().setFilter(QStringLiteral("(peno in(1,3))"));
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(names(model), QStringList({"Beta", "Gama"}));

    db.firms().setFilter(QStringLiteral("(peno in(12345))"));
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.currentRow(), -1);
}

TEST_P(ListModel, AddressPartsOffLeaveTheBareName)
{
    kv::FirmListModel model(&db.dm());
    for (int flag : {kv::NastUlice, kv::NastMisto, kv::NastPsc, kv::NastOkres})
        kv::settings().nast[flag] = false;
    db.dm().reopenAfterSettings(); // same set, same count, other texts
    for (int row = 0; row < model.rowCount(); ++row)
        EXPECT_EQ(line(model, row), names(model).at(row));
    EXPECT_EQ(line(model, 2), QString::fromUtf8("Čeněk"));
}

TEST_P(ListModel, ClosedOrReplacedCursorReadsEmptyWithoutFault)
{
    kv::FirmListModel model(&db.dm());
    db.dm().closeDatabase(); // no notification: the count is stale until refresh
    EXPECT_FALSE(model.data(model.index(0, 0)).isValid());
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::FontRole).isValid());
    EXPECT_EQ(model.currentRow(), -1);
    model.refresh();
    EXPECT_EQ(model.rowCount(), 0);

    // Opening again builds new cursors on the start-up set (no firm 200219).
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    db.dm().openDatabase();
    EXPECT_EQ(reset.count(), 1);
    db.dm().firms()->setFilter(QStringLiteral("(peno in(7,8))"), true);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_TRUE(bold(model, 0)); // same name; the row order puts 7 first
    EXPECT_FALSE(bold(model, 1));
}

INSTANTIATE_TEST_SUITE_P(Engines, ListModel, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });

#ifndef KV_TEST_ON_SERVER
// No data at all: SQLite's program only.
TEST(ListModelWithoutData, EmptyWithoutDataModule)
{
    kv::FirmListModel model(nullptr);
    model.refresh();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.currentRow(), -1);
}
#endif

} // namespace
