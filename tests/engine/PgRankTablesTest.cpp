// The Czech ranks on a server: the load copies the file's rank tables when
// they cover their tables, readers sort by them (the order the file gives)
// and take long number lists through them, and ranks that do not cover
// their table are never used to leave rows out.
#include "tests/support/CompanyDb.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/TestBackend.h"

#include "core/Error.h"
#include "engine/Database.h"
#include "engine/Filter.h"
#include "engine/PgConnection.h"
#include "engine/Schema.h"
#include "engine/SchemaSql.h"
#include "engine/TableCursor.h"

#include <gtest/gtest.h>

#include <memory>

using kv::engine::Database;
using kv::engine::Filter;
using kv::engine::PgConnection;
using kv::engine::Schema;
using kv::engine::SchemaSql;
using kv::engine::TableCursor;

namespace
{

constexpr qint64 Wide = 5'000'000'000; // a company number past 32 bits

QList<qint64> order(Database& db, const QString& sort, const Filter& filter = Filter())
{
    TableCursor c(db, "firma");
    c.setSort(sort);
    if (!filter.isEmpty())
        c.setFilter(filter, true);
    c.open();
    QList<qint64> out;
    for (c.first(); !c.eof(); c.next())
        out << c.value("peno").toLongLong();
    return out;
}

Filter numbers(std::vector<qint64> list)
{
    return Filter::numberList("peno", std::make_shared<const Filter::Numbers>(std::move(list)));
}

// companySet() and two firms more, one numbered past 32 bits; peno is the
// row id, as in the generated directories.
void build(kvtest::CompanyDb& db)
{
    db.exec("DROP TABLE firma");
    db.exec(SchemaSql::createSql(*Schema::table("firma"), SchemaSql::Keys::RowKey));
    db.companySet();
    db.firm(Wide, "Ábel a spol.", "Aš", 9);
    db.firm(Wide + 7, "Zámečnictví", "Cheb", 4);
}

const QStringList Sorts{"nazev", "nazev desc", "misto", "misto; nazev desc", "peno"};

} // namespace

TEST(PgRankTables, ReadersSortAsTheFileDoesByItsLoadedRanks)
{
    kvtest::CompanyDb file;
    build(file);
    const auto local = file.openReadOnly(true);
    kvtest::PgTestDatabase server;
    kvtest::loadIntoServer(file.path(), server.conninfo());
    Database db;
    db.openServer(server.conninfo());

    EXPECT_TRUE(db.hasRank("firma", "nazev"));
    EXPECT_TRUE(db.hasRank("firma", "misto"));
    EXPECT_EQ(db.rankedRows("firma"), 9);
    EXPECT_EQ(db.rowidField("firma"), "peno");
    for (const QString& sort : Sorts)
        EXPECT_EQ(order(db, sort), order(*local, sort)) << sort.toStdString();

    // A long list of numbers goes through the loaded ranks: numbers the
    // table lacks drop out, the wide one stays.
    const Filter some = numbers({Wide + 7, 3, 99, 1, Wide, -4});
    for (const QString& sort : Sorts)
        EXPECT_EQ(order(db, sort, some), order(*local, sort, some)) << sort.toStdString();
    EXPECT_EQ(order(db, "peno", some), (QList<qint64>{1, 3, Wide, Wide + 7}));

    // The order is the loaded ranks' own: turned round on the server, the
    // name order of a new reader turns round too.
    PgConnection admin(server.conninfo());
    const QString version = admin.query("SELECT schema_name FROM kvelta.version").text(0, 0);
    admin.exec(QStringLiteral("UPDATE %1.kv_rank_firma SET nazev = -nazev")
                   .arg(admin.identifier(version)));
    Database turned;
    turned.openServer(server.conninfo());
    QList<qint64> reversed = order(*local, "nazev");
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(order(turned, "nazev"), reversed);
}

TEST(PgRankTables, ASmallSetOfALargeTableReadsOnlyItsOwnRanks)
{
    // 400 firms and a set of five: too few to read whole columns, so their
    // ranks come by row, here in one statement.
    kvtest::CompanyDb file;
    file.exec("DROP TABLE firma");
    file.exec(SchemaSql::createSql(*Schema::table("firma"), SchemaSql::Keys::RowKey));
    file.manyFirms(400);
    file.firm(Wide, "Ábel", "Aš", 9);
    const auto local = file.openReadOnly(true);
    kvtest::PgTestDatabase server;
    kvtest::loadIntoServer(file.path(), server.conninfo());
    Database db;
    db.openServer(server.conninfo());
    ASSERT_TRUE(db.hasRank("firma", "nazev"));

    const QString filter = QStringLiteral("peno in (%1, 17, 250, 3, 399)").arg(Wide);
    for (const QString& sort : Sorts) {
        const QList<qint64> expected = order(*local, sort, filter);
        EXPECT_EQ(expected.size(), 5);
        EXPECT_EQ(order(db, sort, filter), expected) << sort.toStdString();
    }
}

TEST(PgRankTables, StaleRanksInTheFileAreNotLoaded)
{
    kvtest::CompanyDb file;
    build(file);
    file.openReadOnly(true);
    // A firm added after the ranks were made: the file's ranks leave it out.
    kvtest::CompanyDb::change(file.path(),
                              "INSERT INTO firma (peno, nazev, misto) VALUES (8, 'Bílý', 'Brno')");
    kvtest::PgTestDatabase server;
    kvtest::loadIntoServer(file.path(), server.conninfo());
    Database db;
    db.openServer(server.conninfo());

    EXPECT_FALSE(db.hasRank("firma", "nazev"));
    const auto local = std::make_unique<Database>(file.path());
    for (const QString& sort : Sorts) {
        const QList<qint64> onServer = order(db, sort);
        EXPECT_EQ(onServer.size(), 10) << sort.toStdString();
        EXPECT_EQ(onServer, order(*local, sort)) << sort.toStdString();
    }
    EXPECT_EQ(order(db, "peno", numbers({8, 2, 1})), (QList<qint64>{1, 2, 8}));
}

TEST(PgRankTables, RanksThatNoLongerCoverTheTableAreRefused)
{
    kvtest::CompanyDb file;
    build(file);
    file.openReadOnly(true);
    kvtest::PgTestDatabase server;
    kvtest::loadIntoServer(file.path(), server.conninfo());
    PgConnection admin(server.conninfo());
    const QString version = admin.query("SELECT schema_name FROM kvelta.version").text(0, 0);
    admin.exec(QStringLiteral("DELETE FROM %1.kv_rank_firma WHERE rid = 3")
                   .arg(admin.identifier(version)));

    Database db;
    db.openServer(server.conninfo());
    // Sorting would drop firm 3; the reader says so instead.
    try {
        order(db, "nazev");
        ADD_FAILURE() << "sorted by ranks that leave a firm out";
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::Engine);
        EXPECT_TRUE(e.message().contains("load the directory again")) << e.message().toStdString();
    }
}
