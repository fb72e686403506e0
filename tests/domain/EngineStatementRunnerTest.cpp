#include "domain/EngineStatementRunner.h"
#include "domain/FilterBuilder.h"
#include "domain/IndexIntersection.h"
#include "domain/SelectionApply.h"
#include "domain/SelectionState.h"
#include "engine/Database.h"
#include "engine/Schema.h"
#include "engine/SchemaSql.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DemoHomeTestSupport.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/TestBackend.h"
#include "tests/support/TestHome.h"

#include <QDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

using kv::SelectionState;

namespace
{

// A small company database, so that the real statement texts run through
// the engine's dialect, on SQLite and (test_domain_pg) on the server.
class EngineRunnerTest : public ::testing::TestWithParam<kvtest::BackendCase>
{
protected:
    void SetUp() override
    {
        kv::engine::Database& db = company.builder();
        db.exec(QStringLiteral("insert into slnazev_p values (5,1),(5,2),(5,3),(9,2),(9,3),(9,4)"));
        db.exec(QStringLiteral("insert into pzatrid values (7,1,101,'a'),(8,1,101,'a'),"
                               "(9,1,102,'b'),(7,2,101,'a'),(3,1,101,'a')"));
        db.exec(QStringLiteral("insert into firma(peno, misto_id, email, www) values"
                               " (1,3,null,null),(2,3,'x',null),(3,4,null,null),(4,3,null,null),"
                               "(7,3,null,null)"));
        on = std::make_unique<kvtest::BackendDb>(company, GetParam());
    }

    kvtest::TestHome home;
    kvtest::CompanyDb company;
    std::unique_ptr<kvtest::BackendDb> on;
};

} // namespace

TEST_P(EngineRunnerTest, IndexConditionsRunOnTheEngine)
{
    kv::EngineStatementRunner runner(on->db());
    kv::FilterBuilder builder(runner, home.file(QStringLiteral("Pozn")));
    SelectionState s;
    s.row(SelectionState::Nazev).add(QStringLiteral("alfa"), QStringLiteral("5"));
    s.row(SelectionState::Nazev).add(QStringLiteral("beta"), QStringLiteral("9"));
    const QString andFilter = builder.buildFilter(s);
    EXPECT_TRUE(andFilter == u"(peno in (2,3))" || andFilter == u"(peno in (3,2))")
        << andFilter.toStdString();

    s.row(SelectionState::Nazev).clear();
    s.row(SelectionState::Zatrid).add(QStringLiteral("a"), QStringLiteral("101"));
    s.row(SelectionState::Zatrid).add(QStringLiteral("b"), QStringLiteral("102"));
    s.row(SelectionState::Zatrid).IsAnd = false;
    s.row(SelectionState::Misto).add(QStringLiteral("Praha"), QStringLiteral("3"));
    const QString filter = builder.buildFilter(s);
    EXPECT_TRUE(filter.endsWith(QStringLiteral(" And (misto_id in(3))"))) << filter.toStdString();
    EXPECT_EQ(kv::countSelection(filter, runner), 1); // firm 7: industry 101, town 3
}

TEST_P(EngineRunnerTest, RejectedStatementThrows)
{
    kv::EngineStatementRunner runner(on->db());
    EXPECT_KV_ERROR(runner.peno({QStringLiteral("select peno from nosuchtable")}), Engine);
    // The connection stays usable after a refused statement.
    EXPECT_EQ(runner.peno({QStringLiteral("select peno from firma where peno=4")}),
              kv::PenoList{4});
}

TEST_P(EngineRunnerTest, CombinedListsSelectWhatTheCombiningStatementSelects)
{
    kv::EngineStatementRunner runner(on->db());
    const auto sorted = [](kv::PenoList l) {
        std::sort(l.begin(), l.end());
        return l;
    };
    const auto statementOf = [](const QList<kv::PenoList>& lists, const QString& joiner) {
        return [=] {
            QStringList terms;
            for (const kv::PenoList& l : lists) {
                QStringList numbers;
                for (int n : l)
                    numbers << QString::number(n);
                terms << QStringLiteral("peno in (") + numbers.join(u',') + u')';
            }
            return QStringLiteral("select distinct(peno) from slnazev_p where ") +
                   terms.join(joiner);
        };
    };
    const QList<kv::PenoList> cases[] = {
        {{1, 2, 3}, {2, 3, 4}},
        {{3, 1, 2, 2}, {4, 3, 2}}, // neither sorted nor distinct
        {{1, 2, 3}, {4}},          // nothing in common
        {{4, 2}},                  // one value only
        {{1}, {1, 2}, {2, 3, 1}},
    };
    for (const QList<kv::PenoList>& lists : cases) {
        for (bool all : {true, false}) {
            const auto statement =
                statementOf(lists, all ? QStringLiteral(" And ") : QStringLiteral(" Or "));
            bool textMade = false;
            const kv::PenoList fast = runner.combine(
                [&] {
                    textMade = true;
                    return statement();
                },
                lists, all);
            EXPECT_FALSE(textMade); // the point: no statement text for the engine to parse
            EXPECT_EQ(fast, sorted(runner.peno({statement()}))) << statement().toStdString();
        }
    }
}

TEST_P(EngineRunnerTest, PerValueListsAreThoseOfTheStatementsRunOneByOne)
{
    kv::EngineStatementRunner runner(on->db());
    const auto sorted = [](QList<kv::PenoList> lists) {
        for (kv::PenoList& l : lists)
            std::sort(l.begin(), l.end());
        return lists;
    };
    const kv::StatementRunner::ValueIndex industry{
        "select distinct(peno) from pZatrid where kod=", "pzatrid", "kod"};
    const kv::StatementRunner::ValueIndex name{
        "select distinct(peno) from slnazev_p where id=", "slnazev_p", "id"};
    const QList<qint64> keyLists[] = {{101, 102}, {102, 101, 102}, {555, 101}, {101, 555, 102}, {},
                                      {555}};
    for (const auto& index : {industry, name}) {
        for (const QList<qint64>& keys : keyLists) {
            for (bool stopAtEmpty : {false, true}) {
                const QList<kv::PenoList> ours = runner.penoPerValue(index, keys, stopAtEmpty);
                for (const kv::PenoList& l : ours)
                    EXPECT_TRUE(std::is_sorted(l.begin(), l.end()));
                EXPECT_EQ(ours,
                          sorted(runner.StatementRunner::penoPerValue(index, keys, stopAtEmpty)))
                    << index.table << " " << keys.size() << " keys, stop " << stopAtEmpty;
            }
        }
    }
    const QList<kv::PenoList> firmsOf101{{3, 7, 8}}; // firm 7 has the code twice
    EXPECT_EQ(runner.penoPerValue(industry, {101}, false), firmsOf101);
}

// --- And-rows answered without reading every key's whole list -------------

namespace
{

const kv::StatementRunner::ValueIndex NameIndex{
    "select distinct(peno) from slnazev_p where id=", "slnazev_p", "id"};
const kv::StatementRunner::ValueIndex IndustryIndex{
    "select distinct(peno) from pZatrid where kod=", "pzatrid", "kod"};

// The engine runner's firms of an and-row; the combining statement's text
// must not be needed for them.
kv::PenoList andRow(kv::EngineStatementRunner& runner, const kv::StatementRunner::ValueIndex& index,
                    const QList<qint64>& keys)
{
    bool textAsked = false;
    const kv::PenoList firms =
        runner.firmsOfRow(index, keys, true, [&](const QList<kv::PenoList>&) {
            textAsked = true;
            return QString();
        });
    EXPECT_FALSE(textAsked);
    EXPECT_TRUE(std::is_sorted(firms.begin(), firms.end()));
    return firms;
}

// What the per-value statements and the combining statement give, sorted.
kv::PenoList byTheStatements(kv::EngineStatementRunner& runner,
                             const kv::StatementRunner::ValueIndex& index,
                             const QList<qint64>& keys)
{
    kv::PenoList firms = runner.StatementRunner::firmsOfRow(
        index, keys, true, [](const QList<kv::PenoList>&) { return QString(); });
    std::sort(firms.begin(), firms.end());
    return firms;
}

// Firms 1..3000, numbered past 32 bits when even. Name words, each by the
// firms it names: Most all but every tenth, Third every third, Rare every
// 97th, Fifth every fifth (each entered twice), Odd and Even; the keys of
// Most and Odd are past 32 bits; None names no firm. The industry codes
// repeat some of them in the other index table.
constexpr int kFirms = 3000;
constexpr qint64 Most = 6000000001, Third = 2, Rare = 3, Fifth = 4, None = 5, Even = 6,
                 Odd = 8000000003;

qint64 firmNumber(int p)
{
    return p % 2 ? p : p + (qint64(1) << 33);
}

bool names(qint64 key, int p)
{
    switch (key) {
    case Most:
        return p % 10 != 0;
    case Third:
        return p % 3 == 0;
    case Rare:
        return p % 97 == 0;
    case Fifth:
        return p % 5 == 0;
    case Even:
        return p % 2 == 0;
    case Odd:
        return p % 2 == 1;
    default:
        return false;
    }
}

class EngineRunnerAndRows : public ::testing::TestWithParam<kvtest::BackendCase>
{
protected:
    void SetUp() override
    {
        company.exec(QStringLiteral("BEGIN"));
        for (qint64 key : {Most, Third, Rare, Fifth, Even, Odd}) {
            for (int p = 1; p <= kFirms; ++p) {
                if (!names(key, p))
                    continue;
                company.insert(QStringLiteral("slnazev_p"), {key, firmNumber(p)});
                if (key == Fifth)
                    company.insert(QStringLiteral("slnazev_p"), {key, firmNumber(p)});
                if (key == Third || key == Rare)
                    company.insert(QStringLiteral("pzatrid"),
                                   {firmNumber(p), 1, key * 100, QStringLiteral("x")});
            }
        }
        company.exec(QStringLiteral("COMMIT"));
        on = std::make_unique<kvtest::BackendDb>(company, GetParam());
    }

    // The firms every key names, from the rule that made the rows.
    static kv::PenoList expected(const QList<qint64>& keys)
    {
        kv::PenoList out;
        for (int p = 1; p <= kFirms; ++p)
            if (std::all_of(keys.begin(), keys.end(), [&](qint64 k) { return names(k, p); }))
                out << firmNumber(p);
        std::sort(out.begin(), out.end());
        return out;
    }

    kvtest::CompanyDb company;
    std::unique_ptr<kvtest::BackendDb> on;
};

} // namespace

TEST_P(EngineRunnerAndRows, GiveTheFirmsEveryKeyNames)
{
    kv::EngineStatementRunner runner(on->db());
    const QList<qint64> cases[] = {
        {Most, Third},
        {Third, Most, Rare},
        {Most, Third, Rare, Fifth},
        {Rare, Rare, Most},
        {Most, None},
        {None, Most},
        {Fifth},
        {Most, Most},
        {Odd, Even},
        {Odd, Most, Fifth},
        {Fifth, Odd, Third},
        {Even, Rare, Most, Third},
    };
    for (const QList<qint64>& keys : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::vector<qint64>(keys.begin(), keys.end())));
        const kv::PenoList firms = andRow(runner, NameIndex, keys);
        EXPECT_EQ(firms, expected(keys));
        EXPECT_EQ(firms, byTheStatements(runner, NameIndex, keys));
    }
    const kv::PenoList both = andRow(runner, IndustryIndex, {Third * 100, Rare * 100});
    EXPECT_EQ(both, expected({Third, Rare}));
    EXPECT_FALSE(both.isEmpty());

    // Or-rows go the statements' way and still give the union.
    const kv::PenoList any =
        runner.firmsOfRow(NameIndex, {Rare, None, Fifth}, false,
                          [](const QList<kv::PenoList>&) { return QString(); });
    kv::PenoList rareOrFifth;
    for (int p = 1; p <= kFirms; ++p)
        if (names(Rare, p) || names(Fifth, p))
            rareOrFifth << firmNumber(p);
    std::sort(rareOrFifth.begin(), rareOrFifth.end());
    EXPECT_EQ(any, rareOrFifth);

#ifndef KV_TEST_ON_SERVER
    // On SQLite the walk over the index answers these rows, not the statements.
    EXPECT_TRUE(kv::IndexIntersection::firms(on->db(), QStringLiteral("slnazev_p"),
                                             QStringLiteral("id"), {Most, Third})
                    .has_value());
#endif
}

#ifndef KV_TEST_ON_SERVER
TEST(IndexIntersection, WalksOnlyOverAKeyPenoIndexAndAFewKeys)
{
    kvtest::CompanyDb company;
    company.insert(QStringLiteral("slnazev_p"), {7, 1});
    company.insert(QStringLiteral("slnazev_p"), {7, 2});
    company.insert(QStringLiteral("slnazev_p"), {8, 2});
    kv::engine::Database& db = company.builder();
    const QString table = QStringLiteral("slnazev_p"), key = QStringLiteral("id");
    // Not finished: no index, so a seek would sort the key's rows each time.
    EXPECT_FALSE(kv::IndexIntersection::hasKeyPenoIndex(db, table, key));
    EXPECT_FALSE(kv::IndexIntersection::firms(db, table, key, {7, 8}).has_value());
    kv::EngineStatementRunner runner(db);
    EXPECT_EQ(andRow(runner, NameIndex, {7, 8}), kv::PenoList{2});

    company.finish();
    EXPECT_TRUE(kv::IndexIntersection::hasKeyPenoIndex(db, table, key));
    EXPECT_FALSE(kv::IndexIntersection::hasKeyPenoIndex(db, table, QStringLiteral("peno")));
    EXPECT_EQ(kv::IndexIntersection::firms(db, table, key, {8, 7, 8}),
              std::optional(std::vector<qint64>{2}));
    QList<qint64> many;
    for (int k = 0; k <= kv::IndexIntersection::MaxKeys; ++k)
        many << 7 + k % 2 + 100 * (k / 2);
    EXPECT_FALSE(kv::IndexIntersection::firms(db, table, key, many).has_value());
    EXPECT_TRUE(kv::IndexIntersection::firms(db, table, key, many.mid(1)).has_value());
}
#endif

// The demo home's name words: the commonest beside rarer ones it occurs
// with, checked against SQLite's own INTERSECT of the index rows.
TEST_P(EngineRunnerAndRows, NameWordsOfTheDemoHomeGiveWhatSqliteIntersects)
{
    const QString path =
        QDir(kvtest::demoHomeTemplate(2000)).filePath(QStringLiteral("Dta/KV2001.db"));
    const kvtest::DemoDb demo(path);
    ASSERT_TRUE(demo.isOpen());
    const auto idsOf = [&](const QString& sql) {
        QList<qint64> ids;
        for (const QVariant& v : demo.column(sql))
            ids << v.toLongLong();
        return ids;
    };
    const QList<qint64> byCount = idsOf(QStringLiteral(
        "SELECT id FROM slnazev_p GROUP BY id ORDER BY count(DISTINCT peno) DESC, id"));
    ASSERT_GT(byCount.size(), 40);
    // Words that share firms with all of `words`, most shared first.
    const auto beside = [&](const QList<qint64>& words) {
        QString sql = QStringLiteral("SELECT id FROM slnazev_p WHERE 1");
        for (qint64 w : words)
            sql += QStringLiteral(" AND id <> %1 AND peno IN (SELECT peno FROM slnazev_p WHERE "
                                  "id = %1)")
                       .arg(w);
        return idsOf(sql + QStringLiteral(" GROUP BY id ORDER BY count(DISTINCT peno) DESC, id"));
    };
    const qint64 commonest = byCount.first();
    const QList<qint64> second = beside({commonest});
    ASSERT_GT(second.size(), 6);
    const QList<qint64> third = beside({commonest, second[0]});
    ASSERT_FALSE(third.isEmpty());
    // Four words of one firm's name, the commonest among them.
    const QList<qint64> ofOneFirm =
        idsOf(QStringLiteral("SELECT DISTINCT id FROM slnazev_p WHERE peno = (SELECT peno FROM "
                             "slnazev_p GROUP BY peno HAVING count(DISTINCT id) >= 4 AND "
                             "max(id = %1) = 1 ORDER BY peno LIMIT 1) ORDER BY id = %1 DESC, id")
                  .arg(commonest));
    ASSERT_GE(ofOneFirm.size(), 4);
    const QList<qint64> cases[] = {
        {commonest, second[0]},
        {second[0], commonest, third[0]},
        {commonest, second[0], third[0], second.last()},
        ofOneFirm.mid(0, 4),
        {commonest, second[1], second.last()},
        {commonest, byCount.last()},
        {byCount[1], byCount[2], byCount[1]},
        {commonest, second[2], 987654321},
    };
    std::unique_ptr<kv::engine::Database> db = kvtest::openOn(path, GetParam());
    kv::EngineStatementRunner runner(*db);
    int nonEmpty = 0;
    for (const QList<qint64>& keys : cases) {
        QStringList selects;
        for (qint64 k : keys)
            selects << QStringLiteral("SELECT peno FROM slnazev_p WHERE id = %1").arg(k);
        kv::PenoList intersected;
        for (const QVariant& v : demo.column(selects.join(QStringLiteral(" INTERSECT ")) +
                                             QStringLiteral(" ORDER BY 1")))
            intersected << v.toLongLong();
        const kv::PenoList firms = andRow(runner, NameIndex, keys);
        EXPECT_EQ(firms, intersected)
            << ::testing::PrintToString(std::vector<qint64>(keys.begin(), keys.end()));
        nonEmpty += !intersected.isEmpty();
    }
    EXPECT_GE(nonEmpty, 4);
}

class EngineRunnerCount : public ::testing::TestWithParam<kvtest::BackendCase>
{
};

TEST_P(EngineRunnerCount, LongNumberListCountsTheFirmsTheTableHas)
{
    kvtest::TestHome home;
    for (const bool rowKey : {true, false}) {
        SCOPED_TRACE(rowKey ? "firms keyed by number" : "plain table");
        kvtest::CompanyDb company;
        if (rowKey) {
            company.exec(QStringLiteral("DROP TABLE firma"));
            company.exec(kv::engine::SchemaSql::createSql(
                *kv::engine::Schema::table(QStringLiteral("firma")),
                kv::engine::SchemaSql::Keys::RowKey));
        }
        company.exec(QStringLiteral("BEGIN"));
        for (int i = 0; i < 300; ++i)
            company.firm(100 + 2 * i, QStringLiteral("Firma %1").arg(i % 17));
        company.exec(QStringLiteral("COMMIT"));
        kvtest::BackendDb on(company, GetParam());
        kv::EngineStatementRunner runner(on.db());
        // Every third firm, unsorted, with repeats and with numbers no firm has.
        std::vector<qint64> numbers{99, 103, 5000, 106, 106};
        for (int i = 297; i >= 0; i -= 3)
            numbers.push_back(100 + 2 * i);
        QStringList spelled;
        for (qint64 n : numbers)
            spelled << QString::number(n);
        const kv::engine::Filter carried = kv::engine::Filter::numberList(
            QStringLiteral("peno"), std::make_shared<const kv::engine::Filter::Numbers>(numbers));
        EXPECT_EQ(runner.countFirms(carried), 100);
        EXPECT_EQ(
            runner.countFirms(QStringLiteral("(peno in (") + spelled.join(u',') + u')' + u')'),
            100);
        EXPECT_EQ(runner.countFirms(kv::engine::Filter::fromSkeleton(
                      carried.skeleton() + QStringLiteral(" and (not peno in (100,106))"),
                      carried.sets())),
                  98);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineRunnerTest, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });
INSTANTIATE_TEST_SUITE_P(Engines, EngineRunnerAndRows, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });
INSTANTIATE_TEST_SUITE_P(Engines, EngineRunnerCount, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });
