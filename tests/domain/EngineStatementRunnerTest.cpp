#include "domain/EngineStatementRunner.h"
#include "domain/FilterBuilder.h"
#include "domain/SelectionApply.h"
#include "domain/SelectionState.h"
#include "engine/Database.h"
#include "engine/Schema.h"
#include "engine/SchemaSql.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/TestBackend.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <algorithm>
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
INSTANTIATE_TEST_SUITE_P(Engines, EngineRunnerCount, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });
