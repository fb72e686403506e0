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

#include <algorithm>
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

// A company file whose peno is the row id, as in the generated directories,
// and a database of its own on the test server to load it into.
struct Loaded {
    kvtest::CompanyDb file;
    kvtest::PgTestDatabase server;

    Loaded()
    {
        file.exec("DROP TABLE firma");
        file.exec(SchemaSql::createSql(*Schema::table("firma"), SchemaSql::Keys::RowKey));
    }
    // companySet() and two firms more, one numbered past 32 bits.
    void companySet()
    {
        file.companySet();
        file.firm(Wide, "Ábel a spol.", "Aš", 9);
        file.firm(Wide + 7, "Zámečnictví", "Cheb", 4);
    }
    // Loads the file as it is now; a reader of the new version.
    std::unique_ptr<Database> load()
    {
        kvtest::loadIntoServer(file.path(), server.conninfo());
        auto db = std::make_unique<Database>();
        db->openServer(server.conninfo());
        return db;
    }
    // Runs a statement as the server's superuser; %1 is the current version.
    void change(const QString& sql)
    {
        PgConnection admin(server.conninfo());
        const QString version = admin.query("SELECT schema_name FROM kvelta.version").text(0, 0);
        admin.exec(sql.arg(admin.identifier(version)));
    }
};

const QStringList Sorts{"nazev", "nazev desc", "misto", "misto; nazev desc", "peno"};

} // namespace

TEST(PgRankTables, ReadersSortAsTheFileDoesByItsLoadedRanks)
{
    Loaded on;
    on.companySet();
    const auto local = on.file.openReadOnly(true);
    const auto reader = on.load();
    Database& db = *reader;

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
}

TEST(PgRankTables, ASmallSetOfALargeTableReadsOnlyItsOwnRanks)
{
    // 400 firms and a set of five: too few to read whole columns, so their
    // ranks come by row, here in one statement.
    Loaded on;
    on.file.manyFirms(400);
    on.file.firm(Wide, "Ábel", "Aš", 9);
    const auto local = on.file.openReadOnly(true);
    const auto reader = on.load();
    ASSERT_TRUE(reader->hasRank("firma", "nazev"));

    const QString filter = QStringLiteral("peno in (%1, 17, 250, 3, 399)").arg(Wide);
    for (const QString& sort : Sorts) {
        const QList<qint64> expected = order(*local, sort, filter);
        EXPECT_EQ(expected.size(), 5);
        EXPECT_EQ(order(*reader, sort, filter), expected) << sort.toStdString();
    }

    // The order is the loaded ranks' own: turned round on the server, the
    // name order of a new reader turns round too.
    on.change("UPDATE %1.kv_rank_firma SET nazev = -nazev");
    Database turned;
    turned.openServer(on.server.conninfo());
    QList<qint64> reversed = order(*local, "nazev", filter);
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(order(turned, "nazev", filter), reversed);
}

TEST(PgRankTables, StaleRanksInTheFileAreNotLoaded)
{
    Loaded on;
    on.companySet();
    on.file.openReadOnly(true);
    // A firm added after the ranks were made: the file's ranks leave it out.
    kvtest::CompanyDb::change(on.file.path(),
                              "INSERT INTO firma (peno, nazev, misto) VALUES (8, 'Bílý', 'Brno')");
    const auto reader = on.load();

    EXPECT_FALSE(reader->hasRank("firma", "nazev"));
    Database local(on.file.path());
    for (const QString& sort : Sorts) {
        const QList<qint64> onServer = order(*reader, sort);
        EXPECT_EQ(onServer.size(), 10) << sort.toStdString();
        EXPECT_EQ(onServer, order(local, sort)) << sort.toStdString();
    }
    EXPECT_EQ(order(*reader, "peno", numbers({8, 2, 1})), (QList<qint64>{1, 2, 8}));
}

TEST(PgRankTables, RanksThatNoLongerCoverTheTableAreRefused)
{
    Loaded on;
    on.companySet();
    on.file.openReadOnly(true);
    on.load();
    const auto refused = [&](const char* why) {
        SCOPED_TRACE(why);
        Database db;
        db.openServer(on.server.conninfo());
        const QString message = kvtest::engineErrorOf([&] { order(db, "nazev"); });
        EXPECT_TRUE(message.contains("load the directory again")) << message.toStdString();
    };
    // The packed column cut short by one rank.
    on.change("UPDATE %1.kv_rank_order SET ranks = substring(ranks FROM 5) "
              "WHERE table_name = 'firma' AND field = 'nazev'");
    refused("a damaged packed column");
    // Its last chunk gone: firms would be missing.
    on.change("UPDATE %1.kv_rank_order SET rids = substring(rids FROM 9), ranks = "
              "substring(ranks FROM 5) WHERE table_name = 'firma' AND field = 'nazev'");
    refused("a packed column without a firm");
    // No packed column at all.
    on.change("DELETE FROM %1.kv_rank_order");
    refused("a missing packed column");
}
