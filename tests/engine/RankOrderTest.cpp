// The cursor's orders from stored ranks: a re-sort of the rows a cursor
// holds, a set sorted by marks in a loaded rank column, a small set sorted by
// ranks read per row and a long list of row keys taken without a pass over
// the table all give exactly the order of a fresh run, and that order is the
// Czech one with ties by row.
#include "tests/support/CompanyDb.h"

#include "engine/CzechText.h"
#include "engine/KeySetFilter.h"
#include "engine/RankColumn.h"
#include "engine/Schema.h"
#include "engine/SchemaSql.h"
#include "engine/Statement.h"
#include "engine/TableCursor.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <algorithm>
#include <memory>

using namespace kv::engine;

namespace
{

constexpr int kFirms = 3000;

struct Firm {
    qint64 peno;
    QString nazev;
    QString misto;
};

// Few names and towns, so most sorts meet long runs of ties; some names empty.
std::vector<Firm> makeFirms()
{
    const QStringList names{"Čech", "Cech", "Chrudim", "Hrad", "hrad", "Ivan", "Žatec", "Řeka",
                            "Alfa", "Áčko", "",        "Beta", "čech", "Zeta", "Cyril"};
    const QStringList towns{"Praha", "Brno", "Cheb", "České Budějovice", "Ústí", "cheb"};
    QRandomGenerator rng(7);
    std::vector<Firm> out;
    for (int i = 0; i < kFirms; ++i)
        out.push_back({1000 + qint64(i) * 3, names[int(rng.bounded(names.size()))],
                       towns[int(rng.bounded(towns.size()))]});
    return out;
}

// firma keyed by peno (its rowid), as make-demo writes it; `rowKey` false
// keeps the plain table of the Jet import.
void build(kvtest::CompanyDb& db, const std::vector<Firm>& firms, bool rowKey)
{
    if (rowKey) {
        db.exec("DROP TABLE firma");
        db.exec(SchemaSql::createSql(*Schema::table("firma"), SchemaSql::Keys::RowKey));
    }
    db.exec("BEGIN");
    for (const Firm& f : firms)
        db.firm(f.peno, f.nazev, f.misto, 1, f.peno % 7 == 0 ? QStringLiteral("A") : QString());
    db.exec("COMMIT");
}

QList<qint64> rowsOf(TableCursor& c)
{
    QList<qint64> out;
    for (int p = 1; p <= c.recordCount(); ++p)
        out << c.fieldAt(p, "peno").toLongLong();
    return out;
}

QList<qint64> freshRun(Database& db, const Filter& filter, const QString& sort)
{
    TableCursor c(db, "firma");
    c.setSort(sort);
    c.setFilter(filter, !filter.isEmpty());
    c.open();
    return rowsOf(c);
}

Filter numberList(const std::vector<qint64>& numbers)
{
    return Filter::numberList("peno", std::make_shared<const Filter::Numbers>(numbers));
}

// A carried list of every third firm, unsorted, with repeats and with
// numbers no firm has.
std::vector<qint64> someNumbers(const std::vector<Firm>& firms)
{
    std::vector<qint64> out;
    for (size_t i = 0; i < firms.size(); i += 3)
        out.push_back(firms[i].peno);
    out.push_back(firms[6].peno);
    out.push_back(999);
    out.push_back(1001);
    out.push_back(1'000'000);
    std::reverse(out.begin(), out.end());
    return out;
}

std::vector<Filter> filters(const std::vector<Firm>& firms)
{
    std::vector<Filter> out;
    out.push_back(Filter());
    out.push_back(Filter("misto = 'Praha'"));
    out.push_back(numberList(someNumbers(firms)));
    // The excluded firms after a selection.
    out.push_back(Filter::fromSkeleton(
        "((peno in (" + Filter::marker(0) + "))) and (not peno in (1000,1006,1009))",
        {std::make_shared<const Filter::Numbers>(someNumbers(firms))}));
    out.push_back(Filter("(peno in (1003,1012,1000,5000))"));
    return out;
}

const QStringList kSorts{"nazev",
                         "nazev DESC",
                         "misto",
                         "misto DESC, nazev",
                         "misto, nazev DESC",
                         "placena DESC, nazev",
                         "peno DESC",
                         "psc, ulice, nazev"};

class RankOrder : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        firms = makeFirms();
        build(made, firms, GetParam());
        db = made.openReadOnly(true);
    }
    std::vector<Firm> firms;
    kvtest::CompanyDb made;
    std::unique_ptr<Database> db;
};

} // namespace

TEST_P(RankOrder, ResortOfTheHeldRowsGivesTheOrderOfAFreshRun)
{
    for (const Filter& filter : filters(firms)) {
        SCOPED_TRACE(filter.skeleton().toStdString());
        TableCursor held(*db, "firma");
        held.setFilter(filter, !filter.isEmpty());
        held.open();
        int moves = 0;
        QObject::connect(&held, &TableCursor::afterScroll, [&moves] { ++moves; });
        for (const QString& sort : kSorts) {
            SCOPED_TRACE(sort.toStdString());
            held.setPosition(held.recordCount());
            moves = 0;
            held.setSort(sort);
            EXPECT_EQ(held.sort(), sort);
            EXPECT_EQ(moves, 1);
            EXPECT_EQ(held.position(), held.isEmpty() ? 0 : 1);
            EXPECT_EQ(rowsOf(held), freshRun(*db, filter, sort));
        }
    }
}

TEST_P(RankOrder, OrdersAreCzechWithTiesByRow)
{
    auto expected = [this](bool descending) {
        std::vector<Firm> sorted = firms;
        std::stable_sort(sorted.begin(), sorted.end(), [descending](const Firm& a, const Firm& b) {
            const int c = CzechText::compare(a.nazev, b.nazev);
            return descending ? c > 0 : c < 0;
        });
        QList<qint64> out;
        for (const Firm& f : sorted)
            out << f.peno;
        return out;
    };
    const std::vector<qint64> few{firms[40].peno, firms[2].peno, firms[17].peno, firms[9].peno};
    QList<qint64> fewAscending;
    for (qint64 p : expected(false))
        if (std::find(few.begin(), few.end(), p) != few.end())
            fewAscending << p;

    // A few rows first (their ranks read one by one), then the whole table
    // (its column loaded), then the few again (sorted by marks in the column).
    EXPECT_EQ(freshRun(*db, numberList(few), "nazev"), fewAscending);
    EXPECT_EQ(freshRun(*db, Filter(), "nazev"), expected(false));
    EXPECT_EQ(freshRun(*db, Filter(), "nazev DESC"), expected(true));
    EXPECT_EQ(freshRun(*db, numberList(few), "nazev"), fewAscending);
    EXPECT_EQ(freshRun(*db, numberList({firms[3].peno}), "nazev DESC"),
              QList<qint64>{firms[3].peno});
    EXPECT_TRUE(freshRun(*db, numberList({1}), "nazev").isEmpty());
}

TEST_P(RankOrder, LongKeyListsKeepTheRowsTheTableHas)
{
    const std::vector<qint64> numbers = someNumbers(firms);
    const Filter list = numberList(numbers);
    const Filter::Numbers* null = nullptr;
    EXPECT_EQ(KeySetFilter::numbers(*db, "firma", list) != null, GetParam());
    EXPECT_EQ(KeySetFilter::numbers(*db, "firma", numberList({})) != null, GetParam());
    // Anything more than the list itself goes to SQLite.
    EXPECT_FALSE(KeySetFilter::numbers(*db, "firma", filters(firms)[3]));
    EXPECT_FALSE(KeySetFilter::numbers(
        *db, "firma",
        Filter::fromSkeleton("(not peno in (" + Filter::marker(0) + "))", list.sets())));
    EXPECT_FALSE(KeySetFilter::numbers(
        *db, "firma",
        Filter::fromSkeleton("(peno in (" + Filter::marker(0) + ")) or (misto = 'Brno')",
                             list.sets())));
    EXPECT_FALSE(KeySetFilter::numbers(
        *db, "firma",
        Filter::fromSkeleton("(misto_id in (" + Filter::marker(0) + "))", list.sets())));

    Statement count(*db, "SELECT count(*) FROM firma WHERE peno IN (SELECT value FROM "
                         "json_each(?))");
    QStringList spelled;
    for (qint64 n : numbers)
        spelled << QString::number(n);
    count.bind(1, u'[' + spelled.join(u',') + u']');
    ASSERT_TRUE(count.step());
    const qint64 inTable = count.int64(0);
    EXPECT_EQ(inTable, qint64(kFirms / 3)); // repeats and strangers left out

    EXPECT_EQ(freshRun(*db, list, "nazev").size(), inTable);
    if (!GetParam())
        return; // the rows of a plain table are not its firms' numbers

    const RankColumn* rows = KeySetFilter::rowsOf(*db, "firma");
    ASSERT_TRUE(rows);
    EXPECT_EQ(KeySetFilter::count(*rows, numbers), inTable);
    const std::vector<qint64> kept = KeySetFilter::rows(*rows, numbers);
    EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
    EXPECT_EQ(qint64(kept.size()), inTable);
}

TEST_P(RankOrder, StaleRankTablesSortWithTheCollatorAlike)
{
    db.reset();
    kvtest::CompanyDb::change(made.path(), "DELETE FROM firma WHERE peno % 2 = 0");
    db = std::make_unique<Database>(made.path());
    ASSERT_FALSE(db->hasRank("firma", "nazev"));
    for (const Filter& filter : filters(firms)) {
        SCOPED_TRACE(filter.skeleton().toStdString());
        TableCursor held(*db, "firma");
        held.setFilter(filter, !filter.isEmpty());
        held.open();
        for (const QString& sort : {QStringLiteral("nazev DESC"), QStringLiteral("misto, nazev")}) {
            held.setSort(sort);
            const QList<qint64> rows = rowsOf(held);
            EXPECT_EQ(rows, freshRun(*db, filter, sort));
            for (qint64 p : rows)
                EXPECT_EQ(p % 2, 1);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, RankOrder, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "RowKey" : "Plain"; });
