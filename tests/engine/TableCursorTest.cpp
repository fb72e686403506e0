#include "tests/support/CompanyDb.h"

#include "engine/TableCursor.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/TestBackend.h"

#include <gtest/gtest.h>

using namespace kv::engine;

namespace
{

// Every cursor test runs with the stored Czech ranks and without them (a
// database that was never finished must behave the same, only slower), and
// on the directory loaded into a PostgreSQL server (test_engine_pg).
class Cursor : public ::testing::TestWithParam<kvtest::BackendCase>
{
protected:
    void SetUp() override
    {
        build.companySet();
        on = std::make_unique<kvtest::BackendDb>(build, GetParam());
        db = &on->db();
    }

    static QList<int> walk(TableCursor& c, const char* field = "peno")
    {
        QList<int> out;
        for (c.first(); !c.eof(); c.next())
            out << c.integer(field);
        return out;
    }

    static QStringList texts(TableCursor& c, const char* field)
    {
        QStringList out;
        for (c.first(); !c.eof(); c.next())
            out << c.text(field);
        return out;
    }

    kvtest::CompanyDb build;
    std::unique_ptr<kvtest::BackendDb> on;
    Database* db = nullptr;
};

} // namespace

TEST_P(Cursor, SortsInCzechOrder)
{
    TableCursor c(*db, "firma");
    c.setSort("nazev");
    c.open();
    EXPECT_EQ(walk(c), QList<int>({3, 2, 1, 5, 4, 6, 200219}));
    c.setSort("misto");
    EXPECT_EQ(walk(c), QList<int>({2, 5, 6, 1, 4, 200219, 3}));
    c.setSort("misto DESC, nazev");
    EXPECT_EQ(walk(c), QList<int>({3, 1, 4, 200219, 6, 2, 5}));
    c.setSort("peno DESC");
    EXPECT_EQ(walk(c), QList<int>({200219, 6, 5, 4, 3, 2, 1}));
    c.setSort("placena DESC, nazev"); // paid entries first
    EXPECT_EQ(walk(c), QList<int>({2, 5, 3, 1, 4, 6, 200219}));
}

TEST_P(Cursor, DictionaryPrefixFilterSortedByText)
{
    TableCursor words(*db, "slnazev");
    words.setSort("txt");
    words.open();
    EXPECT_EQ(texts(words, "txt"),
              QStringList({"Cena", "Česká", "Čestná", "Ostatní", "Stará", "Stavby", "stavební"}));
    words.setFilter("txt like 'Sta*'", true);
    EXPECT_EQ(texts(words, "txt"), QStringList({"Stará", "Stavby", "stavební"}));
    words.setFilter("txt like 'čes*'");
    EXPECT_EQ(texts(words, "txt"), QStringList({"Česká", "Čestná"}));
    words.setFilter("txt like 'xyz*'");
    EXPECT_TRUE(words.isEmpty());
    EXPECT_TRUE(words.eof());
    EXPECT_TRUE(words.bof());
    EXPECT_EQ(words.position(), 0);
    EXPECT_EQ(words.text("txt"), ""); // empty set reads as empty
    EXPECT_KV_ERROR(words.text("nosuch"), Engine);
}

TEST_P(Cursor, PositionAndCountFollowFilterSortAndSwitch)
{
    TableCursor c(*db, "firma");
    c.setSort("nazev");
    c.setFilter("peno in(200219)", true);
    c.open();
    EXPECT_EQ(c.recordCount(), 1);
    EXPECT_EQ(c.position(), 1);
    EXPECT_EQ(c.text("nazev"), "Stavby Kvelta");

    c.setFilter("(misto_id in(1,2))");
    EXPECT_EQ(c.recordCount(), 5);
    c.setPosition(4);
    EXPECT_EQ(c.text("nazev"), "Chrudimská");
    c.setSort("peno");
    EXPECT_EQ(c.position(), 1); // runs again and stands on the first row
    EXPECT_EQ(c.integer("peno"), 1);
    EXPECT_EQ(c.recordCount(), 5);

    c.setFiltered(false);
    EXPECT_EQ(c.recordCount(), 7);
    EXPECT_EQ(c.position(), 1);
    c.setFilter("(peno=0)", true);
    EXPECT_EQ(c.recordCount(), 0);
    c.setFilter("", true); // an empty filter switched on selects everything
    EXPECT_EQ(c.recordCount(), 7);

    c.setPosition(99);
    EXPECT_EQ(c.position(), 7);
    c.setPosition(-3);
    EXPECT_EQ(c.position(), 1);
}

TEST_P(Cursor, EndTestsLikeAWalkExpects)
{
    TableCursor c(*db, "firma");
    c.setSort("peno");
    c.setFilter("(peno in(1,2,3))", true);
    c.open();
    EXPECT_TRUE(c.bof());
    EXPECT_FALSE(c.eof());
    c.next();
    c.next();
    EXPECT_EQ(c.position(), 3);
    EXPECT_FALSE(c.eof());
    c.next(); // past the end: stays on the last row
    EXPECT_TRUE(c.eof());
    EXPECT_EQ(c.integer("peno"), 3);
    c.prior();
    EXPECT_FALSE(c.eof());
    EXPECT_EQ(c.position(), 2);
    c.last();
    EXPECT_TRUE(c.eof());
    QList<int> back;
    for (c.last(); !c.bof(); c.prior())
        back << c.integer("peno");
    EXPECT_EQ(back, QList<int>({3, 2, 1}));
}

TEST_P(Cursor, OneNotificationPerMove)
{
    TableCursor c(*db, "firma");
    int calls = 0;
    QObject::connect(&c, &TableCursor::afterScroll, [&] { ++calls; });
    c.setFilter("(misto_id in(1,2))", true);
    EXPECT_EQ(calls, 0); // closed: nothing runs
    c.open();
    EXPECT_EQ(calls, 1);
    c.next();
    c.next();
    EXPECT_EQ(calls, 3);
    c.last();
    EXPECT_EQ(calls, 4);
    c.next(); // no move at the end
    EXPECT_EQ(calls, 4);
    c.setPosition(5); // already there
    EXPECT_EQ(calls, 4);
    c.setPosition(2);
    EXPECT_EQ(calls, 5);
    c.setSort("misto");
    c.setFiltered(false);
    c.setFilter("peno=5", true); // both at once: one run
    EXPECT_EQ(calls, 8);
    c.close();
    c.open();
    EXPECT_EQ(calls, 9);
}

TEST_P(Cursor, SuspendedViewsGetOneNotificationOnResume)
{
    TableCursor c(*db, "firma");
    int calls = 0;
    QObject::connect(&c, &TableCursor::afterScroll, [&] { ++calls; });
    c.open();
    calls = 0;
    c.suspendViews();
    c.suspendViews();
    c.setFilter("(misto_id in(1,2))", true);
    c.next();
    c.next();
    c.resumeViews();
    EXPECT_EQ(calls, 0); // still suspended once
    c.resumeViews();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(c.position(), 3);

    c.suspendViews();
    c.resumeViews(); // nothing moved
    EXPECT_EQ(calls, 1);
    c.resumeViews(); // unbalanced resume is harmless
    c.next();
    EXPECT_EQ(calls, 2);
}

TEST_P(Cursor, DetailsFollowTheirMaster)
{
    TableCursor firms(*db, "firma");
    firms.setSort("peno");
    firms.setFilter("(peno in(1,2,3))", true);
    TableCursor persons(*db, "osoby");
    persons.setSort("sortno");
    persons.setMaster(&firms, "peno");
    TableCursor industries(*db, "pzatrid");
    industries.setMaster(&firms, "peno");
    TableCursor lines(*db, "radky");
    lines.setSort("sortno");
    lines.setMaster(&industries, "peno;kod");
    persons.open();
    industries.open();
    lines.open();
    EXPECT_TRUE(persons.isEmpty()); // master not open yet

    int linesMoves = 0;
    QObject::connect(&lines, &TableCursor::afterScroll, [&] { ++linesMoves; });
    // The master's listeners see the details already in step.
    QStringList seenByMaster;
    QObject::connect(&firms, &TableCursor::afterScroll,
                     [&] { seenByMaster << persons.text("osoba"); });
    firms.open();
    EXPECT_EQ(seenByMaster, QStringList({"Eva Malá"}));
    EXPECT_EQ(texts(persons, "osoba"), QStringList({"Eva Malá", "Jan Novák, ředitel"}));
    EXPECT_EQ(industries.recordCount(), 2);
    EXPECT_EQ(industries.integer("kod"), 100);
    EXPECT_EQ(texts(lines, "radek"), QStringList({"\tZdění", "\tOmítky"}));
    industries.next();
    EXPECT_EQ(industries.integer("kod"), 200);
    EXPECT_EQ(texts(lines, "radek"), QStringList({"\tKamiony"}));

    linesMoves = 0;
    firms.next();
    EXPECT_EQ(linesMoves, 1);
    EXPECT_EQ(texts(persons, "osoba"), QStringList({"Petr Čech"}));
    EXPECT_EQ(industries.recordCount(), 1);
    EXPECT_EQ(texts(lines, "radek"), QStringList({"\tJeřáby"}));
    firms.next();
    EXPECT_TRUE(persons.isEmpty());
    EXPECT_TRUE(industries.isEmpty());
    EXPECT_TRUE(lines.isEmpty());

    // Details follow even while the master's views are suspended.
    firms.suspendViews();
    firms.first();
    EXPECT_EQ(persons.recordCount(), 2);
    firms.resumeViews();

    firms.close();
    EXPECT_TRUE(persons.isEmpty());
    EXPECT_TRUE(lines.isEmpty());
}

TEST_P(Cursor, DetailOutlivesItsMaster)
{
    TableCursor persons(*db, "osoby");
    {
        TableCursor firms(*db, "firma");
        persons.setMaster(&firms, "peno");
        firms.open();
        persons.open();
        EXPECT_EQ(persons.master(), &firms);
    }
    EXPECT_EQ(persons.master(), nullptr);
    persons.refresh();
    EXPECT_EQ(persons.recordCount(), 3); // unlinked: every person
    EXPECT_KV_ERROR(persons.setMaster(&persons, "nosuch"), Engine);
}

TEST_P(Cursor, RowAtReadsWithoutMoving)
{
    TableCursor c(*db, "firma");
    c.setSort("nazev");
    c.addCalculatedField("Prosez");
    int calcs = 0;
    c.setCalcFields([&](Record& r) {
        ++calcs;
        r.setValue("Prosez", r.text("nazev") + "; " + r.text("misto"));
    });
    int calls = 0;
    QObject::connect(&c, &TableCursor::afterScroll, [&] { ++calls; });
    c.open();
    c.setPosition(2);
    calls = 0;
    EXPECT_EQ(c.rowAt(5).text("nazev"), "Chrudimská");
    EXPECT_EQ(c.rowAt(5).text("Prosez"), "Chrudimská; Praha");
    EXPECT_EQ(c.fieldAt(7, "peno").toInt(), 200219);
    EXPECT_FALSE(c.rowAt(0).isValid());
    EXPECT_FALSE(c.rowAt(8).isValid());
    EXPECT_FALSE(c.fieldAt(8, "peno").isValid());
    EXPECT_EQ(c.position(), 2);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(c.text("Prosez"), "Čech a syn; Brno");
    EXPECT_TRUE(c.isNull("email"));
    EXPECT_EQ(c.integer("email"), 0);
    const int before = calcs;
    c.rowAt(5);
    EXPECT_EQ(calcs, before); // read once, then cached
    EXPECT_KV_ERROR(c.addCalculatedField("late"), Engine);
}

INSTANTIATE_TEST_SUITE_P(Backends, Cursor, ::testing::ValuesIn(kvtest::backendCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });
