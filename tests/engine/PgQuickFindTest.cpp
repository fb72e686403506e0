// Quick find on a server: the version's copy of the index answers every
// question as the SQLite index does (the same firms in the same order),
// whatever the user typed; a version loaded without it says so.
#include "tests/support/CompanyDb.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/TestBackend.h"

#include "core/Error.h"
#include "engine/Database.h"
#include "engine/PgConnection.h"
#include "engine/PgDirectoryLoader.h"
#include "engine/PgQuickFind.h"
#include "engine/QuickFindIndex.h"
#include "engine/ServerDirectory.h"
#include "engine/Statement.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using kv::engine::Database;
using kv::engine::PgConnection;
using kv::engine::PgQuickFind;
using kv::engine::QuickFindIndex;
using kv::engine::QuickFindQuery;
using kv::engine::QuickFindRow;

namespace
{

const QString LongWord = QString(100000, u'a') + u'b';

void addFirm(kvtest::CompanyDb& db, qint64 peno, const QString& nazev, const QVariant& ico,
             const QVariant& ulice, const QVariant& misto)
{
    const QVariant null;
    db.insert(QStringLiteral("firma"), {peno, ico, nazev, ulice, 0, misto, null, null, null, null,
                                        null, null, null, null, null, null, null});
}

// Names in Czech order that code order gets wrong ("Č" after "C", "Ch"
// after "H"), diacritics and case, hostile characters, IČOs past 32 bits,
// a word of 100 kB and enough firms of one name to pass any limit.
void fill(kvtest::CompanyDb& db)
{
    const QVariant null;
    addFirm(db, 1, "Železárny Podbrezová", "12345678", "Hlavní 1", "Praha");
    addFirm(db, 2, "Český Krumlov Hotel", "23456789", "Náměstí 2", "Český Krumlov");
    addFirm(db, 3, "Hotel Růže", "12349999", "Horní 15", "Český Krumlov");
    addFirm(db, 4, "Pekárna Český Krumlov", "34567890", "Dlouhá 4", "Brno");
    addFirm(db, 5, "ABC Stavby", "00012345", "Krumlovská 3", "Ostrava");
    addFirm(db, 6, "Nakladatelství Praha", "12345", "Vodní 6", "Písek");
    addFirm(db, 7, "„Alfa“ Beta", "55500001", "Zahradní 7", "Kolín");
    addFirm(db, 8, "(P) Pekař", "55500002", "Zahradní 8", "Kolín");
    addFirm(db, 9, "3D Tisk", "55500003", "Zahradní 9", "Kolín");
    addFirm(db, 10, "100% Stavby_a\\b 'x' \"y\"", "4294967297", "Ulice %_", "Kolín");
    addFirm(db, 11, "CHLADÍRNY Chrudim", "4294967296123", "Chmelová", "Chrudim");
    addFirm(db, 12, "Dlouhé " + LongWord, "55500004", null, "Cheb");
    addFirm(db, 13, "Café Łódź Straße", "", null, "Ústí nad Labem");
    addFirm(db, 14, "a_b%c d", null, "Černá", null);
    addFirm(db, 15, "Čáp s.r.o.", "99", "Cukrářská", "Hradec Králové");
    addFirm(db, 16, "Cukrárna u Čápa", "98", "Čapkova", "Hradec Králové");
    addFirm(db, 17, "Hrad a.s.", "97", "Hradní", "Ústí");
    for (int i = 0; i < 70; ++i)
        addFirm(db, 1000 + i, QStringLiteral("Firma %1").arg(69 - i, 3, 10, QChar(u'0')),
                QStringLiteral("9%1").arg(i, 7, 10, QChar(u'0')), "Polní", "Tábor");
}

// What the user may type; the words go to both indexes as typed (the
// tokenizer folds them), so hostile characters reach the server too.
QStringList inputs()
{
    return {"krumlov",
            "ČESKÝ krum",
            "cesky KRUMLOV",
            "Č",
            "c",
            "ce",
            "h",
            "ho",
            "ch",
            "chl",
            "p",
            "pe",
            "3",
            "3d",
            "12345",
            "1234",
            "12345678",
            "4294967297",
            "4294967296",
            "429496729612",
            "4294967296123",
            "99",
            "zelez",
            "železárny podbrez",
            "hlavni",
            "praha",
            "písek",
            "vodn",
            "xyzzy",
            "firma",
            "firma 0",
            "f",
            "fi",
            "alfa",
            "p pek",
            "(p)",
            "%",
            "_",
            "\\",
            "'",
            "\"",
            "100%",
            "a_b",
            "stavby_a",
            "a%b",
            "%_",
            "x' OR '1'='1",
            "\"y\"",
            "a b",
            "lodz",
            "łódź",
            "strasse",
            "straße",
            "CAFÉ",
            "ústí nad",
            "usti",
            "hrad",
            "čáp",
            "cap",
            "cukr",
            "dlouhe " + QString(70, u'a'),
            LongWord,
            LongWord.left(64),
            LongWord.left(65),
            QString(100000, u'a'),
            "hotel růže",
            "hotel ruze ceský"};
}

std::vector<QuickFindQuery> queriesOf(const QString& input)
{
    using Kind = QuickFindQuery::Kind;
    const QStringList words = input.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    std::vector<QuickFindQuery> out;
    for (Kind kind :
         {Kind::IcoExact, Kind::IcoPrefix, Kind::NameStart, Kind::NameWords, Kind::AnyWords})
        out.push_back(
            {kind, kind == Kind::IcoExact || kind == Kind::IcoPrefix ? words.mid(0, 1) : words});
    return out;
}

QString describe(const std::vector<QuickFindRow>& rows)
{
    QStringList out;
    for (const QuickFindRow& r : rows)
        out << QStringLiteral("%1 %2|%3|%4|%5")
                   .arg(r.peno)
                   .arg(r.ico, r.nazev.left(40), r.ulice, r.misto);
    return out.join(u'\n');
}

class PgQuickFindTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fill(m_build);
        m_build.finish();
        kv::engine::buildQuickFindIndex(m_build.builder());
        m_build.done();
        m_sqlite = std::make_unique<Database>(m_build.path());
        kvtest::loadIntoServer(m_build.path(), m_server.conninfo());
        m_pg = std::make_unique<Database>();
        m_pg->openServer(m_server.conninfo());
    }
    void TearDown() override { m_pg.reset(); }

    kvtest::CompanyDb m_build;
    kvtest::PgTestDatabase m_server;
    std::unique_ptr<Database> m_sqlite;
    std::unique_ptr<Database> m_pg;
};

} // namespace

TEST_F(PgQuickFindTest, AnswersEveryQuestionAsTheSqliteIndex)
{
    ASSERT_TRUE(PgQuickFind::available(*m_pg));
    EXPECT_FALSE(PgQuickFind::available(*m_sqlite));
    const PgQuickFind server(*m_pg, m_pg->directory()->version());
    int nonEmpty = 0;
    for (const QString& input : inputs()) {
        for (const QuickFindQuery& query : queriesOf(input)) {
            for (int limit : {50, 3}) {
                const auto expected = QuickFindIndex::match(*m_sqlite, QStringLiteral("main"),
                                                            query.expression(), limit);
                const auto got = server.match(query, limit);
                EXPECT_EQ(describe(got), describe(expected))
                    << input.left(80).toStdString() << " as "
                    << query.expression().left(80).toStdString() << ", limit " << limit;
                nonEmpty += expected.empty() ? 0 : 1;
            }
        }
    }
    // The table asks questions that find firms, not only ones that find none.
    EXPECT_GT(nonEmpty, 150);
    // The firm of the 100 kB word comes back whole.
    const auto longName = server.match({QuickFindQuery::Kind::NameWords, {LongWord}}, 5);
    ASSERT_EQ(longName.size(), 1u);
    EXPECT_EQ(longName.front().nazev, "Dlouhé " + LongWord);
    // The connection stays usable after all of that.
    EXPECT_EQ(server.match({QuickFindQuery::Kind::AnyWords, {"tabor"}}, 100).size(), 70u);
}

TEST_F(PgQuickFindTest, AReaderRoleMemberFindsFirms)
{
    PgConnection admin(m_server.conninfo());
    admin.exec("DO $$BEGIN CREATE ROLE kv_quickfind_test LOGIN IN ROLE kvelta_reader; "
               "EXCEPTION WHEN duplicate_object THEN NULL; END$$");
    Database reader;
    reader.openServer(QStringLiteral("host=%1 user=kv_quickfind_test dbname=%2")
                          .arg(kvtest::pgSocketDir(), m_server.name()));
    ASSERT_TRUE(PgQuickFind::available(reader));
    const auto rows = PgQuickFind(reader, reader.directory()->version())
                          .match({QuickFindQuery::Kind::AnyWords, {"krumlov"}}, 10);
    EXPECT_EQ(describe(rows), describe(QuickFindIndex::match(*m_sqlite, QStringLiteral("main"),
                                                             "\"krumlov\"*", 10)));
    EXPECT_EQ(rows.size(), 4u);
}

// A version loaded by an older kvelta has no copy of the index: quick find
// is not available there, and the rest of the directory reads as before.
TEST_F(PgQuickFindTest, AVersionWithoutTheTablesIsNotAvailable)
{
    const QString version = m_pg->directory()->version();
    m_pg.reset();
    PgConnection admin(m_server.conninfo());
    admin.exec(QStringLiteral("DROP TABLE %1.kv_quickfind").arg(admin.identifier(version)));
    Database old;
    old.openServer(m_server.conninfo());
    EXPECT_FALSE(PgQuickFind::available(old));
    EXPECT_TRUE(old.hasTable("firma"));
    // Asked anyway, the server refuses and the connection goes on.
    const PgQuickFind missing(old, version);
    EXPECT_THROW(missing.match({QuickFindQuery::Kind::AnyWords, {"krumlov"}}, 10), kv::Error);
    kv::engine::Statement count(old, "SELECT count(*) FROM firma");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.int64(0), 87);
}

// A database where pg_trgm cannot be made (here an event trigger refuses
// it, as a server without the extension or a role without the right
// would): the load goes through with a warning, and quick find there is
// not available.
TEST(PgQuickFindLoad, WithoutTrigramsTheLoadWarnsAndQuickFindIsNotAvailable)
{
    kvtest::CompanyDb build;
    fill(build);
    build.finish();
    build.done();
    kvtest::PgTestDatabase server;
    PgConnection admin(server.conninfo());
    admin.exec("CREATE FUNCTION refuse() RETURNS event_trigger LANGUAGE plpgsql AS "
               "$$BEGIN RAISE EXCEPTION 'no extensions here' USING ERRCODE = '42501'; END$$;"
               "CREATE EVENT TRIGGER no_extensions ON ddl_command_start "
               "WHEN TAG IN ('CREATE EXTENSION') EXECUTE FUNCTION refuse()");
    QStringList notes;
    {
        Database source(build.path());
        PgConnection target(server.conninfo());
        kv::engine::PgDirectoryLoader loader(source, target);
        loader.setDropWait(0);
        loader.setNote([&](const QString& line) { notes << line; });
        loader.run(build.path());
    }
    EXPECT_TRUE(notes.join(u'\n').contains(
        "warning: quick find will not be available on the server: this role may not create "
        "the extension pg_trgm (SQLSTATE 42501)"))
        << notes.join(u'\n').toStdString();
    Database reader;
    reader.openServer(server.conninfo());
    EXPECT_FALSE(PgQuickFind::available(reader));
    kv::engine::Statement count(reader, "SELECT count(*) FROM firma");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.int64(0), 87);
}

// Each load brings its own copy; a reader of the older version keeps
// finding what that version holds.
TEST_F(PgQuickFindTest, ALoadAgainGivesTheNewVersionItsOwnIndex)
{
    kvtest::CompanyDb::change(
        m_build.path(), "UPDATE firma SET nazev = 'Zámečnictví Krumlov' WHERE peno = 4", {}, true);
    kvtest::loadIntoServer(m_build.path(), m_server.conninfo());
    Database late;
    late.openServer(m_server.conninfo());
    ASSERT_NE(late.directory()->version(), m_pg->directory()->version());
    const QuickFindQuery query{QuickFindQuery::Kind::NameWords, {"krumlov"}};
    const auto now = PgQuickFind(late, late.directory()->version()).match(query, 10);
    const auto before = PgQuickFind(*m_pg, m_pg->directory()->version()).match(query, 10);
    ASSERT_EQ(now.size(), 2u);
    EXPECT_EQ(now.back().nazev, "Zámečnictví Krumlov");
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(before.back().nazev, "Pekárna Český Krumlov");
    {
        Database rebuild(m_build.path(), Database::Mode::ReadWrite);
        kv::engine::buildQuickFindIndex(rebuild);
    }
    const Database changed(m_build.path());
    EXPECT_EQ(describe(now), describe(QuickFindIndex::match(changed, QStringLiteral("main"),
                                                            query.expression(), 10)));
}
