// Filters that carry their number lists as numbers: the spelled text, the
// composition of skeletons, and that a cursor selects with the carried lists
// exactly what it selects with the spelled text, below and above the lengths
// at which the dialect switches from literals to a temporary table and to the
// row-by-row set test.
#include "tests/support/CompanyDb.h"

#include "core/Error.h"
#include "engine/Filter.h"
#include "engine/JetDialect.h"
#include "engine/TableCursor.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/TestBackend.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kv::engine;

namespace
{

Filter::SharedNumbers numbers(std::vector<qint64> v)
{
    return std::make_shared<const Filter::Numbers>(std::move(v));
}

std::vector<qint64> every(qint64 step, qint64 from, qint64 to)
{
    std::vector<qint64> v;
    for (qint64 n = from; n <= to; n += step)
        v.push_back(n);
    return v;
}

QList<qint64> walk(TableCursor& c)
{
    QList<qint64> out;
    for (c.first(); !c.eof(); c.next())
        out << c.int64("peno");
    return out;
}

} // namespace

TEST(CarriedFilter, TextSpellsTheListsAsGivenAndPlainTextStaysAsItIs)
{
    // Order and repeats are kept: the text is what the selection wrote.
    const Filter list = Filter::numberList("peno", numbers({30, 4, 4, 7}));
    EXPECT_TRUE(list.hasSets());
    EXPECT_EQ(list.text(), "(peno in (30,4,4,7))");
    EXPECT_FALSE(list.skeleton().contains(u'4'));

    const Filter plain(QStringLiteral("(misto_id in(3,17))"));
    EXPECT_FALSE(plain.hasSets());
    EXPECT_EQ(plain.text(), "(misto_id in(3,17))");
    EXPECT_TRUE(Filter().isEmpty());

    // A marker inside a quoted text is text, not a list.
    const Filter quoted = Filter::fromSkeleton(QStringLiteral("(nazev like '") + Filter::marker(0) +
                                                   QStringLiteral("') Or (peno in (") +
                                                   Filter::marker(0) + QStringLiteral("))"),
                                               {numbers({5})});
    EXPECT_EQ(quoted.text(), QStringLiteral("(nazev like '") + Filter::marker(0) +
                                 QStringLiteral("') Or (peno in (5))"));
}

TEST(CarriedFilter, JoiningRenumbersTheSecondListsAndEqualityComparesContents)
{
    const Filter a = Filter::numberList("peno", numbers({1, 2}));
    const Filter b = Filter::numberList("peno", numbers({3}));
    const Filter joined = a + QStringLiteral(" And ") + b + QStringLiteral(" Or (email is null)");
    EXPECT_EQ(joined.sets().size(), 2u);
    EXPECT_EQ(joined.text(), "(peno in (1,2)) And (peno in (3)) Or (email is null)");

    EXPECT_EQ(a, Filter::numberList("peno", numbers({1, 2}))); // another copy of the numbers
    EXPECT_NE(a, Filter::numberList("peno", numbers({1, 3})));
    EXPECT_NE(a, Filter(a.text())); // spelled out is another filter value
    EXPECT_NE(a + b, b + a);
}

TEST(CarriedFilter, SmallCarriedListBecomesSortedLiterals)
{
    const Filter f = Filter::numberList("peno", numbers({9, 3, 3, 5}));
    const Translated carried = JetDialect::filter("firma", f);
    const Translated spelled = JetDialect::filter("firma", f.text());
    EXPECT_EQ(carried.sql, "(\"peno\" IN (3,5,9))");
    EXPECT_EQ(spelled.sql, "(\"peno\" IN (9,3,3,5))");
}

TEST(CarriedFilter, MarkersOutsideAnInListOrWithoutAListAreRejected)
{
    const auto one = std::vector<Filter::SharedNumbers>{numbers({1})};
    for (const QString& skeleton :
         {QStringLiteral("peno = ") + Filter::marker(0),
          QStringLiteral("peno in (1,") + Filter::marker(0) + u')',
          QStringLiteral("peno in (") + Filter::marker(1) + u')',
          QStringLiteral("peno in (") + QChar(Filter::kSetOpen) + QStringLiteral("0)")})
        EXPECT_KV_ERROR(JetDialect::filter("firma", Filter::fromSkeleton(skeleton, one)), Engine)
            << skeleton.toStdString();
}

// The cursor cases on SQLite, and in test_engine_pg on the server.
class CarriedCursor : public ::testing::TestWithParam<kvtest::BackendCase>
{
};

TEST_P(CarriedCursor, SelectsWithCarriedListsWhatTheTextSelects)
{
    kvtest::CompanyDb build;
    build.exec("BEGIN");
    for (int p = 1; p <= 60000; ++p)
        build.firm(p, QStringLiteral("F%1").arg(p), QString(), p % 10);
    build.exec("COMMIT");
    kvtest::BackendDb on(build, GetParam());
    Database& db = on.db();

    // Literal list, temporary table, row-by-row test; unsorted with repeats.
    const Filter small = Filter::numberList("peno", numbers({40, 7, 7, 59999, 70000}));
    const Filter middle = Filter::numberList("peno", numbers(every(97, 3, 20000)));
    std::vector<qint64> large = every(1, 1, 60000);
    std::erase_if(large, [](qint64 n) { return n % 7 == 0; });
    std::reverse(large.begin(), large.end());
    const Filter big = Filter::numberList("peno", numbers(large));
    ASSERT_GT(large.size(), 50000u);

    const QList<Filter> cases{
        small,
        middle,
        big,
        big + QStringLiteral(" And ") + middle,
        big + QStringLiteral(" Or ") + small,
        Filter(QStringLiteral("(misto_id in(3)) And ")) + big,
        Filter(QStringLiteral("(not ")) + big + QStringLiteral(")"),
        Filter(QStringLiteral("((")) + big + QStringLiteral(")) and (not peno in (1,2,3))"),
    };
    for (const Filter& f : cases) {
        TableCursor carried(db, "firma");
        carried.setSort("peno");
        carried.setFilter(f, true);
        carried.open();
        TableCursor spelled(db, "firma");
        spelled.setSort("peno");
        spelled.setFilter(f.text(), true);
        spelled.open();
        const QList<qint64> got = walk(carried);
        EXPECT_FALSE(got.isEmpty());
        EXPECT_EQ(got, walk(spelled)) << f.text().left(80).toStdString();
        EXPECT_EQ(carried.filter(), f.text());
        EXPECT_EQ(carried.filterWithSets(), f);
    }
}

TEST_P(CarriedCursor, CopiedFilterAndSwitchKeepTheLists)
{
    kvtest::CompanyDb build;
    for (int p = 1; p <= 10; ++p)
        build.firm(p, QStringLiteral("F%1").arg(p));
    kvtest::BackendDb on(build, GetParam());
    Database& db = on.db();
    TableCursor firms(db, "firma");
    firms.setFilter(Filter::numberList("peno", numbers({2, 4, 6})), true);
    firms.open();
    EXPECT_EQ(firms.recordCount(), 3);
    firms.setFiltered(false);
    EXPECT_EQ(firms.recordCount(), 10);
    firms.setFiltered(true);
    EXPECT_EQ(firms.recordCount(), 3);

    TableCursor print(db, "firma");
    print.setFilter(firms.filterWithSets(), firms.isFiltered());
    print.open();
    EXPECT_EQ(walk(print), (QList<qint64>{2, 4, 6}));
    EXPECT_TRUE(print.filterWithSets().hasSets());
}

INSTANTIATE_TEST_SUITE_P(Engines, CarriedCursor, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });
