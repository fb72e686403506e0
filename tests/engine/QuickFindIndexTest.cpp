#include "tests/support/CompanyDb.h"

#include "engine/CzechText.h"
#include "engine/Database.h"
#include "engine/DatabaseSetup.h"
#include "engine/QuickFindIndex.h"
#include "engine/RowInserter.h"
#include "engine/Schema.h"
#include "engine/SchemaSql.h"
#include "engine/Statement.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace kv::engine;

namespace
{

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

std::vector<qint64> penos(const Database& db, const QString& schema, const QString& expression)
{
    std::vector<qint64> result;
    for (const QuickFindRow& r : QuickFindIndex::match(db, schema, expression, 100))
        result.push_back(r.peno);
    return result;
}

struct BuildCount {
    int calls = 0;
    QuickFindIndex::Progress progress()
    {
        return [this](qint64, qint64) { ++calls; };
    }
};

} // namespace

TEST(QuickFindIndex, SideFileBuiltOnceAndAgainAfterTheDatabaseChanged)
{
    kvtest::CompanyDb company;
    company.firm(7, "Železárny Třinec", "Třinec");
    company.firm(8, "Pila Dolní", "Jihlava");
    company.finish();
    company.done();
    QTemporaryDir cache;
    const QString side = QuickFindIndex::sideFilePath(company.path(), cache.path());
    const QByteArray before = fileHash(company.path());

    BuildCount first;
    {
        Database db(company.path());
        EXPECT_EQ(QuickFindIndex::attach(db, cache.path(), first.progress()), "kvqf");
        EXPECT_EQ(penos(db, "kvqf", "\"zelez\"*"), std::vector<qint64>{7});
    }
    EXPECT_GT(first.calls, 0);
    EXPECT_TRUE(QFile::exists(side));
    // The company database is only read.
    EXPECT_EQ(fileHash(company.path()), before);

    BuildCount again;
    {
        Database db(company.path());
        EXPECT_EQ(QuickFindIndex::attach(db, cache.path(), again.progress()), "kvqf");
        EXPECT_EQ(penos(db, "kvqf", "\"jihlava\""), std::vector<qint64>{8});
    }
    EXPECT_EQ(again.calls, 0) << "the side file was built again for an unchanged database";
    // Only the side file lives in the cache folder, no drafts.
    EXPECT_EQ(QDir(cache.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    {
        Database writer(company.path(), Database::Mode::ReadWrite);
        writer.exec("INSERT INTO firma(peno, nazev, misto) VALUES(9, 'Pila Horní', 'Jihlava')");
    }
    BuildCount changed;
    {
        Database db(company.path());
        EXPECT_EQ(QuickFindIndex::attach(db, cache.path(), changed.progress()), "kvqf");
        EXPECT_EQ(penos(db, "kvqf", "\"jihlava\""), (std::vector<qint64>{8, 9}));
    }
    EXPECT_GT(changed.calls, 0);
}

TEST(QuickFindIndex, DatabaseWithItsOwnIndexNeedsNoSideFile)
{
    kvtest::CompanyDb company;
    company.firm(3, "Ústav Květin", "Brno");
    company.firm(1, "Akvárium Brno", "Brno");
    company.finish();
    company.done();
    {
        Database builder(company.path(), Database::Mode::ReadWrite);
        buildQuickFindIndex(builder);
    }
    QTemporaryDir cache;
    Database db(company.path());
    EXPECT_EQ(QuickFindIndex::attach(db, cache.path()), "main");
    EXPECT_TRUE(QDir(cache.path()).isEmpty());
    // Rows in name order, whatever the order of the keys.
    EXPECT_EQ(penos(db, "main", "\"brno\""), (std::vector<qint64>{1, 3}));
    EXPECT_EQ(penos(db, "main", "\"kvetin\"*"), std::vector<qint64>{3});
}

TEST(QuickFindIndex, DamagedSideFileIsBuiltAgain)
{
    kvtest::CompanyDb company;
    company.firm(5, "Mlýn", "Písek");
    company.finish();
    company.done();
    QTemporaryDir cache;
    const QString side = QuickFindIndex::sideFilePath(company.path(), cache.path());
    QFile junk(side);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8192, 'x'));
    junk.close();
    Database db(company.path());
    EXPECT_EQ(QuickFindIndex::attach(db, cache.path()), "kvqf");
    EXPECT_EQ(penos(db, "kvqf", "\"pisek\""), std::vector<qint64>{5});
}

TEST(QuickFindIndex, RowsOfAGeneratedDatabaseFollowCzechNameOrderThenPeno)
{
    // A generated database (peno is firma's row key) with its Czech ranks:
    // the rows come out as the collation orders them, equal names by peno,
    // whatever the order the rows went in.
    QTemporaryDir dir;
    Database db(dir.filePath("KV2001.db"), Database::Mode::Create);
    db.exec(SchemaSql::createSql(SchemaSql::Keys::RowKey));
    const std::vector<std::pair<qint64, QString>> firms = {
        {9, "Chata Hora"},  {2, "Cukrárna"},   {7, "Hrad s.r.o."}, {4, "Čistírna"},
        {12, "cukrárna"},   {3, "Chata Hora"}, {8, "Ćma"},         {5, "Hrad s.r.o."},
        {1, "Česká pošta"}, {11, "Cesta"},     {6, "Ceska posta"}, {10, "Zámek"}};
    {
        RowInserter firma(db, *Schema::table("firma"));
        for (const auto& [peno, nazev] : firms) {
            firma.add(peno).addNull().add(nazev);
            firma.insert();
        }
    }
    finishDatabase(db);
    buildQuickFindIndex(db);

    CzechText::registerWith(db.handle());
    std::vector<qint64> expected, indexed;
    Statement byCollation(db.handle(), QStringLiteral("SELECT peno FROM firma ORDER BY nazev "
                                                      "COLLATE %1, peno")
                                           .arg(CzechText::collationName));
    while (byCollation.step())
        expected.push_back(byCollation.int64(0));
    Statement byIndex(db.handle(), QStringLiteral("SELECT peno FROM kv_quickfind ORDER BY rowid"));
    while (byIndex.step())
        indexed.push_back(byIndex.int64(0));
    ASSERT_EQ(expected.size(), firms.size());
    EXPECT_EQ(indexed, expected);
    // Not merely the order of the keys or of the rows' arrival.
    EXPECT_NE(expected.front(), 1);
}
