// The quick-find index made on a thread of its own beside the other indexes
// is the one made afterwards on the builder's connection, also for firms
// without a name or with one of 200,000 letters, and leaves nothing behind.
#include "engine/QuickFindBuild.h"
#include "core/Error.h"
#include "engine/Database.h"
#include "engine/DatabaseSetup.h"
#include "engine/QuickFindIndex.h"
#include "engine/RowInserter.h"
#include "engine/Schema.h"
#include "engine/SchemaSql.h"
#include "engine/Statement.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>

using namespace kv::engine;

namespace
{

struct Firm {
    qint64 peno;
    QString ico, nazev, ulice, misto;
};

std::vector<Firm> hostileFirms()
{
    const QString endless(200000, u'ž');
    return {{9, "12345678", "Chata Hora", "Horní 5", "Jihlava"},
            {2, {}, "Cukrárna", {}, "Brno"},
            {7, "00000019", "Hrad s.r.o.", "Zámecká 1", "Třebíč"},
            {4, "27074358", "Čistírna", "Dlouhá 8", "Brno"},
            {12, {}, "cukrárna", "Krátká 2", "Písek"},
            {3, "45274649", "Chata Hora", {}, "Jihlava"},
            {14, "99999999", {}, "Bez názvu 1", "Tábor"},
            {8, "60193336", endless, "Ž" + endless, "Ždár"},
            {5, "25596641", "Hrad s.r.o.", "Hradní 3", {}},
            {1, "00006947", "Česká pošta", "Politických vězňů 909/4", "Praha"},
            {11, "47114983", "Cesta", "Cestná 1", "Cheb"},
            {6, "49240030", "Ceska posta", "Náměstí 1", "Cheb"},
            {10, "70994226", "Zámek", "Zámek 1", "Kutná Hora"}};
}

std::unique_ptr<Database> generated(const QString& path, const std::vector<Firm>& firms)
{
    auto db = std::make_unique<Database>(path, Database::Mode::Create);
    db->exec(SchemaSql::createSql(SchemaSql::Keys::RowKey));
    RowInserter firma(*db, *Schema::table("firma"));
    for (const Firm& f : firms)
        firma.add(f.peno).add(f.ico).add(f.nazev).add(f.ulice).add(1).add(f.misto).insert();
    return db;
}

QList<QVariantList> rows(const Database& db, const QString& sql)
{
    QList<QVariantList> out;
    Statement st(db.handle(), sql);
    while (st.step()) {
        QVariantList row;
        for (int c = 0; c < st.columnCount(); ++c)
            row << st.value(c);
        out << row;
    }
    return out;
}

// What readers see of an index: its rows in order, the kept first rows, and
// the answers to a few searches.
QList<QVariantList> seen(const Database& db)
{
    QList<QVariantList> all =
        rows(db, "SELECT rowid, peno, ico, nazev, ulice, misto FROM kv_quickfind ORDER BY rowid");
    all << rows(db, "SELECT prefix, rid FROM kv_quickfind_start ORDER BY prefix, rid");
    for (const char* expression : {"\"chata\"", "\"cukrarna\"*", "{nazev} : ^ \"c\"*", "\"zzz\"*",
                                   "{misto} : \"cheb\"", "\"0000\"*", "\"zamek\""})
        for (const QuickFindRow& r : QuickFindIndex::match(db, "main", expression, 100))
            all << QVariantList{expression, r.peno, r.nazev.size()};
    return all;
}

bool indexIsWhole(Database& db)
{
    try {
        db.exec("INSERT INTO kv_quickfind(kv_quickfind) VALUES('integrity-check')");
        return true;
    } catch (const kv::Error&) {
        return false;
    }
}

QStringList filesIn(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

TEST(QuickFindBuild, BesideTheIndexesGivesTheIndexMadeAfterwards)
{
    QTemporaryDir dir;
    const auto afterwards = generated(dir.filePath("after.db"), hostileFirms());
    finishDatabase(*afterwards);
    buildQuickFindIndex(*afterwards);

    const auto beside = generated(dir.filePath("beside.db"), hostileFirms());
    FinishOptions options;
    options.quickFind = true;
    finishDatabase(*beside, options);

    const QList<QVariantList> expected = seen(*afterwards);
    ASSERT_EQ(rows(*afterwards, "SELECT count(*) FROM kv_quickfind").value(0).value(0), 13);
    EXPECT_EQ(seen(*beside), expected);
    EXPECT_TRUE(indexIsWhole(*beside));
    // The spool and the side database are gone.
    EXPECT_EQ(filesIn(dir), (QStringList{"after.db", "beside.db"}));
}

TEST(QuickFindBuild, WithoutStoredRanksTheCollationGivesTheOrder)
{
    QTemporaryDir dir;
    const auto afterwards = generated(dir.filePath("after.db"), hostileFirms());
    buildQuickFindIndex(*afterwards);

    const auto beside = generated(dir.filePath("beside.db"), hostileFirms());
    QuickFindBuild build(beside->handle());
    build.finishInto(beside->handle());

    EXPECT_EQ(seen(*beside), seen(*afterwards));
    EXPECT_TRUE(indexIsWhole(*beside));
    // An index made again replaces the earlier one.
    QuickFindBuild again(beside->handle());
    again.finishInto(beside->handle());
    EXPECT_EQ(seen(*beside), seen(*afterwards));
    EXPECT_EQ(filesIn(dir), (QStringList{"after.db", "beside.db"}));
}

TEST(QuickFindBuild, AbandonedOrFailedBuildLeavesTheDatabaseAndTheFolderAsTheyWere)
{
    QTemporaryDir dir;
    const auto db = generated(dir.filePath("KV2001.db"), hostileFirms());
    {
        QuickFindBuild abandoned(db->handle());
    }
    EXPECT_TRUE(rows(*db, "SELECT 1 FROM sqlite_master WHERE name LIKE 'kv_quickfind%'").isEmpty());
    EXPECT_EQ(filesIn(dir), QStringList{"KV2001.db"});

    // A firm table without the fields the index shows.
    db->exec("ALTER TABLE firma DROP COLUMN ulice");
    EXPECT_THROW(QuickFindBuild{db->handle()}, kv::Error);
    EXPECT_EQ(filesIn(dir), QStringList{"KV2001.db"});
}
