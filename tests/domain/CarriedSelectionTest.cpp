// The selection's filter with its company-number lists carried as numbers
// selects exactly what its spelled text selects: and/or rows, rows combined,
// the note condition, exclusions added and counted, with lists below and
// above the length where the engine tests rows against the sorted numbers;
// on SQLite and, in test_domain_pg, on the server.
#include "domain/EngineStatementRunner.h"
#include "domain/Exclusion.h"
#include "domain/FilterBuilder.h"
#include "domain/SelectionApply.h"
#include "domain/SelectionState.h"
#include "engine/Database.h"
#include "engine/KeyFirmLists.h"
#include "engine/KeyFirmsCache.h"
#include "engine/TableCursor.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/TestBackend.h"
#include "tests/support/TestHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using kv::SelectionState;
using kv::engine::Filter;

namespace
{

constexpr int kFirms = 60000;

// Name word 1: even firms; 2: multiples of 3; 3: all but multiples of 7
// (more than 50,000 firms); 4: 100 firms; 5: none. Industry 101: multiples of 5.
class CarriedSelection : public ::testing::TestWithParam<kvtest::BackendCase>
{
protected:
    void SetUp() override
    {
        build.exec("BEGIN");
        for (int p = 1; p <= kFirms; ++p) {
            build.firm(p, QStringLiteral("F%1").arg(p), QString(), p % 4);
            if (p % 2 == 0)
                build.insert("slnazev_p", {1, p});
            if (p % 3 == 0)
                build.insert("slnazev_p", {2, p});
            if (p % 7 != 0)
                build.insert("slnazev_p", {3, p});
            if (p % 600 == 0)
                build.insert("slnazev_p", {4, p});
            if (p % 5 == 0)
                build.insert("pzatrid", {p, 1, 101, QStringLiteral("x")});
        }
        build.exec("COMMIT");
        on = std::make_unique<kvtest::BackendDb>(build, GetParam());
        runner = std::make_unique<kv::EngineStatementRunner>(on->db());
        builder = std::make_unique<kv::FilterBuilder>(*runner, home.file("Pozn"));
        QDir().mkpath(home.file("Pozn"));
        for (int p : {12, 600, 4200, 59999}) {
            QFile note(home.file(QStringLiteral("Pozn/%1.tx").arg(p)));
            ASSERT_TRUE(note.open(QIODevice::WriteOnly));
        }
    }

    void words(SelectionState& s, std::initializer_list<int> ids, bool isAnd)
    {
        for (int id : ids)
            s.row(SelectionState::Nazev).add(QStringLiteral("w%1").arg(id), QString::number(id));
        s.row(SelectionState::Nazev).IsAnd = isAnd;
    }

    QList<qint64> selected(const Filter& f)
    {
        kv::engine::TableCursor c(on->db(), "firma");
        c.setSort("peno");
        c.setFilter(f, true);
        c.open();
        QList<qint64> out;
        for (c.first(); !c.eof(); c.next())
            out << c.int64("peno");
        return out;
    }

    // Carried and spelled select the same firms, and count the same.
    void expectSame(const Filter& f, const char* what)
    {
        SCOPED_TRACE(what);
        const QList<qint64> carried = selected(f);
        EXPECT_EQ(carried, selected(Filter(f.text())));
        EXPECT_EQ(kv::countSelection(f, *runner), int(carried.size()));
        EXPECT_EQ(
            kv::countSelection(f, *runner),
            int(runner->peno({QStringLiteral("select peno from firma where "), f.text()}).size()));
    }

    // Every kind of row and combination, against the firms the rules above give.
    void expectRowsAndCombinations()
    {
        struct Case {
            const char* what;
            std::initializer_list<int> ids;
            bool isAnd;
            int between;
            bool industry;
            bool notes;
            qsizetype firms;
        };
        const Case cases[] = {
            {"one common word", {3}, true, 1, false, false, 51429},
            {"and", {1, 2}, true, 1, false, false, 10000},
            {"or", {1, 2}, false, 1, false, false, 40000},
            {"or above the long list", {1, 3}, false, 1, false, false, 55714},
            {"and with a short word", {3, 4}, true, 1, false, false, 86},
            {"and with an empty word", {3, 5}, true, 1, false, false, 0},
            {"word and industry", {3}, true, 1, true, false, 10286},
            {"word or industry", {4}, true, 0, true, false, 12000},
            {"word and notes", {3}, true, 1, false, true, 3},
            {"word or notes", {4}, true, 0, false, true, 102},
        };
        for (const Case& c : cases) {
            SelectionState s;
            words(s, c.ids, c.isAnd);
            s.rgLogMezi = c.between;
            if (c.industry)
                s.row(SelectionState::Zatrid).add(QStringLiteral("x"), QStringLiteral("101"));
            s.cbPozn = c.notes;
            const Filter f = builder->buildFilterWithSets(s);
            // The text is the one the selection always wrote.
            EXPECT_EQ(f.text(), builder->buildFilter(s)) << c.what;
            EXPECT_EQ(f.hasSets(), c.firms > 0 || c.industry || c.notes) << c.what;
            EXPECT_EQ(selected(f).size(), c.firms) << c.what;
            expectSame(f, c.what);
        }
    }

    kvtest::TestHome home;
    kvtest::CompanyDb build;
    std::unique_ptr<kvtest::BackendDb> on;
    std::unique_ptr<kv::EngineStatementRunner> runner;
    std::unique_ptr<kv::FilterBuilder> builder;
};

} // namespace

TEST_P(CarriedSelection, RowsAndTheirCombinationsSelectWhatTheTextSelects)
{
    expectRowsAndCombinations();
}

TEST_P(CarriedSelection, ListsRememberedForTheFileSelectWhatTheTablesSelect)
{
    // Every list remembered, however short; the selection then takes them
    // from the copies. A server's rows change without a file changing: its
    // lists are never remembered.
    kv::engine::KeyFirmLists names(on->db(), QStringLiteral("slnazev_p"), QStringLiteral("id"), 1);
    kv::engine::KeyFirmLists industries(on->db(), QStringLiteral("pzatrid"), QStringLiteral("kod"),
                                        1);
    for (qint64 key : {1, 2, 3, 4, 5})
        names.firms(key);
    industries.firms(101);
    const QStringList copies = QDir(kv::engine::KeyFirmsCache::defaultDir())
                                   .entryList({QStringLiteral("keyfirms-*")}, QDir::Files);
    EXPECT_EQ(copies.size(), on->db().isServer() ? 0 : 5) << copies.join(u' ').toStdString();
    expectRowsAndCombinations();
}

TEST_P(CarriedSelection, ExclusionsAddedToACarriedFilterKeepItsListsCarried)
{
    SelectionState s;
    words(s, {3}, true);
    s.row(SelectionState::Misto).add(QStringLiteral("t"), QStringLiteral("1"));
    const Filter f = builder->buildFilterWithSets(s);
    const Filter once = kv::composeExclusionFilter(f, QStringLiteral("(not peno in (1,5))"));
    EXPECT_TRUE(once.hasSets());
    EXPECT_EQ(once.text(), kv::composeExclusionFilter(f.text(), "(not peno in (1,5))"));
    EXPECT_TRUE(once.text().startsWith(QStringLiteral("((peno in (1,2,3,4,5,6,8,")));
    EXPECT_TRUE(
        once.text().endsWith(QStringLiteral(" And (misto_id in(1))) and (not peno in (1,5))")));
    expectSame(once, "once");
    EXPECT_FALSE(selected(once).contains(5));
    EXPECT_TRUE(selected(f).contains(5));

    // A second exclusion replaces the tail; none gives the filter back.
    const Filter twice = kv::composeExclusionFilter(once, QStringLiteral("(not peno in (1,5,9))"));
    EXPECT_EQ(twice.text(), kv::composeExclusionFilter(once.text(), "(not peno in (1,5,9))"));
    expectSame(twice, "twice");
    EXPECT_EQ(selected(once).size() - 1, selected(twice).size());
    const Filter none = kv::composeExclusionFilter(twice, QString());
    EXPECT_EQ(none.text(), QLatin1Char('(') + f.text() + QLatin1Char(')'));
    EXPECT_EQ(selected(none), selected(f));
}

INSTANTIATE_TEST_SUITE_P(Engines, CarriedSelection, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });
