#include "tests/support/CompanyDb.h"

#include "engine/JetDialect.h"
#include "engine/QueryCursor.h"
#include "engine/Statement.h"
#include "engine/TableCursor.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/TestBackend.h"

#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>

using namespace kv::engine;

namespace
{

// On SQLite, and in test_engine_pg on the directory loaded into the server.
class Dialect : public ::testing::TestWithParam<kvtest::BackendCase>
{
protected:
    void SetUp() override
    {
        build.companySet();
        on = std::make_unique<kvtest::BackendDb>(build, GetParam());
        db = &on->db();
    }

    bool onServer() const { return db->isServer(); }
    Translated translated(const QString& filter)
    {
        return JetDialect::filter("firma", filter, "t.", db->sqlForm());
    }

    QSet<int> firms(const QString& filter) { return kvtest::firmsMatching(*db, filter); }

    QList<QVariant> column(const QStringList& lines, const QString& field)
    {
        QueryCursor q(*db);
        q.setSql(lines);
        q.open();
        QList<QVariant> out;
        for (; !q.eof(); q.next())
            out << q.value(field);
        return out;
    }

    QSet<int> penos(const QStringList& lines)
    {
        QSet<int> out;
        for (const QVariant& v : column(lines, "peno"))
            out.insert(v.toInt());
        return out;
    }

    kvtest::CompanyDb build;
    std::unique_ptr<kvtest::BackendDb> on;
    Database* db = nullptr;
};

} // namespace

TEST_P(Dialect, FilterFragmentsOfTheProgram)
{
    EXPECT_EQ(firms("peno in(200219)"), QSet<int>({200219}));
    EXPECT_EQ(firms("(misto_id in(1,2))"), QSet<int>({1, 2, 4, 5, 200219}));
    EXPECT_EQ(firms("(Okres_id in(7))"), QSet<int>({3, 6}));
    EXPECT_EQ(firms("(peno in(1,3))"), QSet<int>({1, 3}));
    EXPECT_EQ(firms("(peno=0)"), QSet<int>());
    EXPECT_EQ(firms("((peno=0))"), QSet<int>());
    EXPECT_EQ(firms("(email is not null)"), QSet<int>({6}));
    EXPECT_EQ(firms("(www is not null)"), QSet<int>({200219}));
    EXPECT_EQ(firms("peno=5"), QSet<int>({5}));
    EXPECT_EQ(firms("(misto_id in(1)) Or (email is not null)"), QSet<int>({1, 4, 6, 200219}));
    EXPECT_EQ(firms("(misto_id in(1)) And (www is not null)"), QSet<int>({200219}));
    EXPECT_EQ(firms("((misto_id in(1,2))) and (not peno in (1,2))"), QSet<int>({4, 5, 200219}));
    EXPECT_EQ(firms("(not peno in (1,2,3,4,5))"), QSet<int>({6, 200219}));
    EXPECT_EQ(firms("nazev like 'čech*'"), QSet<int>({2}));
    EXPECT_EQ(firms("(peno in ())"), QSet<int>());
}

TEST_P(Dialect, StatementsOfTheSelection)
{
    EXPECT_EQ(penos({"select peno from firma where ", "(misto_id in(2)) Or (peno=6)"}),
              QSet<int>({2, 5, 6}));
    EXPECT_EQ(penos({"select distinct(peno) from slnazev_p where id=5"}), QSet<int>({1, 2, 3}));
    EXPECT_EQ(penos({"select distinct(peno) from pZatrid where kod=100"}), QSet<int>({1, 2}));
    EXPECT_EQ(penos({"select distinct(peno) from slUlice_p where id=1"}), QSet<int>({6}));
    EXPECT_EQ(penos({"select distinct(peno) from slRadky_p where id=7"}), QSet<int>({5}));
    EXPECT_EQ(
        penos(
            {"select distinct(peno) from slnazev_p where peno in (1,2,3)  And  peno in (2,3,4) "}),
        QSet<int>({2, 3}));
    EXPECT_EQ(
        penos({"select distinct(peno) from slnazev_p where peno in (1,2,3)  Or  peno in (2,3,4) "}),
        QSet<int>({1, 2, 3, 4}));
    // distinct really removes the repeated firms
    EXPECT_EQ(
        column({"select distinct(peno) from pZatrid where peno in (1,2) Or peno in (2)"}, "peno")
            .size(),
        2);
}

TEST_P(Dialect, IndustrySearchOrdersByCode)
{
    QueryCursor q(*db);
    q.setSql({"select kod,txt from zatrid where txt like '*stav*' order by kod"});
    q.open();
    ASSERT_EQ(q.recordCount(), 2);
    EXPECT_EQ(q.integer("kod"), 100);
    EXPECT_EQ(q.text("txt"), "Stavebnictví");
    q.next();
    EXPECT_EQ(q.integer("kod"), 150);
    EXPECT_EQ(q.text("txt"), "Pozemní stavby");
    q.next();
    EXPECT_TRUE(q.eof());

    q.setSql({"select kod,txt from zatrid where txt like '**' order by kod"});
    q.open();
    EXPECT_EQ(q.recordCount(), 3);
}

TEST_P(Dialect, FirstPersonStatementOnThreeLines)
{
    QueryCursor q(*db);
    q.setSql({"select osoba from osoby ", "where peno=1", "  and sortno=1 "});
    q.open();
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.text("osoba"), "Eva Malá");
    EXPECT_KV_ERROR(q.text("tel"), Engine); // not selected
}

TEST_P(Dialect, TextsAreBoundNeverPasted)
{
    // An apostrophe pair is a literal apostrophe inside the text, not the end of it.
    EXPECT_EQ(firms("nazev like 'x'' or ''1''=''1'"), QSet<int>());
    const Translated t = translated("nazev like 'Sta*' Or ico = '123'");
    EXPECT_FALSE(t.sql.contains("Sta"));
    EXPECT_FALSE(t.sql.contains("123"));
    ASSERT_EQ(t.params.size(), 2);
    EXPECT_EQ(t.params[0].toString(), onServer() ? "Sta%" : "Sta*");
    EXPECT_EQ(t.params[1].toString(), "123");
}

TEST_P(Dialect, RejectsAnythingOutsideTheDialect)
{
    const char* badFilters[] = {
        "peno in(1); drop table firma",
        "nazev like 'abc",
        "nazev = 'x' or 1=1 --",
        "foo = 1",
        "peno in (select peno from firma)",
        "peno in(1) union select 1",
        "nazev like \"abc\"",
        "peno = 1.5",
        "peno",
        "(peno = 1",
        "peno = 1)",
        "[peno] = 1",
        "osoba = 'x'", // a field of another table
    };
    for (const char* f : badFilters)
        EXPECT_KV_ERROR(JetDialect::filter("firma", f), Engine) << f;

    const char* badStatements[] = {
        "delete from firma",
        "select * from sqlite_master",
        "select peno from firma; delete from firma",
        "select peno from firma where peno=1 union select 1",
        "select peno from kv_rank_firma",
        "select nothing from firma",
        "update firma set nazev='x'",
        "select peno from firma order by nazev; drop table firma",
    };
    for (const char* s : badStatements) {
        QueryCursor q(*db);
        q.setSql({s});
        EXPECT_KV_ERROR(q.open(), Engine) << s;
        EXPECT_FALSE(q.isOpen());
    }
    EXPECT_KV_ERROR(JetDialect::filter("nosuchtable", "peno=1"), Engine);
}

TEST_P(Dialect, RejectedFilterLeavesCursorAsItWas)
{
    TableCursor c(*db, "firma");
    c.setFilter("(misto_id in(1,2))", true);
    c.open();
    c.setPosition(3);
    EXPECT_KV_ERROR(c.setFilter("(misto_id in(1,2)); delete from firma"), Engine);
    EXPECT_EQ(c.filter(), "(misto_id in(1,2))");
    EXPECT_EQ(c.recordCount(), 5);
    EXPECT_EQ(c.position(), 3);
    EXPECT_KV_ERROR(c.setSort("nazev; drop"), Engine);
    EXPECT_KV_ERROR(c.setSort("nosuchfield"), Engine);
    EXPECT_EQ(c.position(), 3);
}

TEST_P(Dialect, ErrorMessageNamesTheProblem)
{
    try {
        JetDialect::filter("firma", "peno in(1); drop table firma");
        FAIL();
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::Engine);
        EXPECT_TRUE(e.message().contains(";")) << e.message().toStdString();
    }
    try {
        JetDialect::filter("firma", "heslo = 1");
        FAIL();
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::Engine);
        EXPECT_TRUE(e.message().contains("heslo")) << e.message().toStdString();
    }
}

TEST_P(Dialect, LongNumberListsRunThroughTemporarySets)
{
    QStringList many;
    for (int i = 0; i < 500; ++i)
        many << QString::number(i * 1000 + 7); // none of them a firm
    many << "1"
         << "200219"
         << "1"; // repeats are harmless
    const QString list = many.join(',');
    const Translated t = translated("(peno in (" + list + "))");
    EXPECT_FALSE(t.sql.contains("200219")); // the numbers are not in the SQL text
    if (onServer()) {                       // one array parameter
        EXPECT_TRUE(t.sets.empty());
        ASSERT_EQ(t.params.size(), 1);
        EXPECT_TRUE(t.params[0].toString().contains(",200219,"));
    } else {
        ASSERT_EQ(t.sets.size(), 1u);
    }

    EXPECT_EQ(firms("(peno in (" + list + "))"), QSet<int>({1, 200219}));
    EXPECT_EQ(firms("((misto_id in(1))) and (not peno in (" + list + "))"), QSet<int>({4}));
    EXPECT_EQ(penos({"select distinct(peno) from slnazev_p where peno in (" + list +
                     ")  Or  peno in (2) "}),
              QSet<int>({1, 2}));

    if (onServer())
        return;
    // The sets live only while their statement runs; the company file stays unchanged.
    QueryCursor tables(*db);
    tables.setSql({"select name from sqlite_temp_master"}); // not a table of the program
    EXPECT_KV_ERROR(tables.open(), Engine);
    kv::engine::Statement temp(*db, "SELECT count(*) FROM sqlite_temp_master");
    ASSERT_TRUE(temp.step());
    EXPECT_EQ(temp.integer(0), 0);
}

TEST_P(Dialect, VeryLongNumberListsAreTestedRowByRow)
{
    // Far beyond the temporary-table size: unsorted, with repeats, most of
    // them no firm at all.
    QStringList many;
    for (int i = 60000; i > 0; --i)
        many << QString::number(i * 7 + 1000000);
    many << "200219"
         << "2"
         << "200219"
         << "5";
    const QString list = many.join(',');
    const Translated t = translated("(peno in (" + list + "))");
    EXPECT_FALSE(t.sql.contains("200219"));
    if (onServer()) {
        EXPECT_TRUE(t.sets.empty());
        EXPECT_EQ(t.params.size(), 1);
    } else {
        ASSERT_EQ(t.sets.size(), 1u);
        EXPECT_GT(t.sets[0].param, 0);
        EXPECT_TRUE(std::is_sorted(t.sets[0].values.begin(), t.sets[0].values.end()));
    }

    EXPECT_EQ(firms("(peno in (" + list + "))"), QSet<int>({2, 5, 200219}));
    EXPECT_EQ(firms("not peno in (" + list + ")"), QSet<int>({1, 3, 4, 6}));
    // Quoted texts around the set keep their own parameters.
    EXPECT_EQ(firms("(nazev like 'st*') and (peno in (" + list + ")) and (misto = 'Praha')"),
              QSet<int>({200219}));
    EXPECT_EQ(firms("(peno in (" + list + ")) and (misto = 'Brno') or (nazev like 'Ivan')"),
              QSet<int>({2, 5, 6}));
    // Two sets in one filter, and a set in a statement of the selection.
    EXPECT_EQ(firms("(peno in (" + list + ")) and (peno in (" + list + ",1))"),
              QSet<int>({2, 5, 200219}));
    EXPECT_EQ(penos({"select distinct(peno) from slnazev_p where peno in (" + list +
                     ")  Or  peno in (1) "}),
              QSet<int>({1, 2}));
}

INSTANTIATE_TEST_SUITE_P(Engines, Dialect, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });

namespace
{

// LIKE on names with Czech letters, "ch" and the other engine's wildcards.
class CzechLike : public ::testing::TestWithParam<kvtest::BackendCase>
{
protected:
    void SetUp() override
    {
        build.firm(1, "Čáp a syn");
        build.firm(2, "čapí hnízdo");
        build.firm(3, "Cach s.r.o.");
        build.firm(4, "CHMEL");
        build.firm(5, "100% stavby");
        build.firm(6, "a_b servis");
        build.firm(7, "axb servis");
        build.firm(8, "Šťastný");
        on = std::make_unique<kvtest::BackendDb>(build, GetParam());
    }

    QSet<int> firms(const QString& filter) { return kvtest::firmsMatching(on->db(), filter); }

    kvtest::CompanyDb build;
    std::unique_ptr<kvtest::BackendDb> on;
};

} // namespace

TEST_P(CzechLike, CaseIsIgnoredAccentsAndWildcardsAreNot)
{
    EXPECT_EQ(firms("nazev like 'čáp*'"), QSet<int>({1}));
    EXPECT_EQ(firms("nazev like 'ČAP*'"), QSet<int>({2}));
    EXPECT_EQ(firms("nazev like 'č*'"), QSet<int>({1, 2}));
    EXPECT_EQ(firms("nazev like 'c*'"), QSet<int>({3, 4}));
    EXPECT_EQ(firms("nazev like 'ch*'"), QSet<int>({4}));
    EXPECT_EQ(firms("nazev like '*CH*'"), QSet<int>({3, 4}));
    EXPECT_EQ(firms("nazev like 'šŤ*'"), QSet<int>({8}));
    EXPECT_EQ(firms("nazev like 'st*'"), QSet<int>());
    EXPECT_EQ(firms("nazev like '?_b*'"), QSet<int>({6})); // '_' is a letter here
    EXPECT_EQ(firms("nazev like 'a?b*'"), QSet<int>({6, 7}));
    EXPECT_EQ(firms("nazev like '100%*'"), QSet<int>({5}));
    EXPECT_EQ(firms("nazev like '%*'"), QSet<int>());
    EXPECT_EQ(firms("not nazev like '*servis'"), QSet<int>({1, 2, 3, 4, 5, 8}));
}

INSTANTIATE_TEST_SUITE_P(Engines, CzechLike, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });
