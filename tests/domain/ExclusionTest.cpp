// Record exclusion on the small company database: the filter layout, the
// current firm after an exclusion, refusals, restoring and the status text.
// The cases on the data module run on SQLite and, in test_domain_pg, on the
// server; the filter texts alone only here.
#include "domain/Exclusion.h"
#include "core/Settings.h"
#include "domain/DataModule.h"
#include "engine/Filter.h"
#include "engine/TableCursor.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/TestBackend.h"
#include "tests/support/TestHome.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

namespace
{

using kv::Exclusion;

#ifndef KV_TEST_ON_SERVER
TEST(ExclusionFilter, ClauseListsNumbersInExclusionOrder)
{
    EXPECT_EQ(kv::exclusionClause({}), QString());
    EXPECT_EQ(kv::exclusionClause({{"A", 1017}, {"B", 20455}}), "(not peno in (1017,20455))");
}

TEST(ExclusionFilter, WorkedExample)
{
    const QString one = kv::composeExclusionFilter("(misto_id in(3,17))", "(not peno in (1017))");
    EXPECT_EQ(one, "((misto_id in(3,17))) and (not peno in (1017))");
    const QString two = kv::composeExclusionFilter(one, "(not peno in (1017,20455))");
    EXPECT_EQ(two, "((misto_id in(3,17))) and (not peno in (1017,20455))");
    EXPECT_EQ(kv::composeExclusionFilter(two, QString()), "((misto_id in(3,17)))");
}

TEST(ExclusionFilter, EmptySelectionFilterGivesTheClauseAlone)
{
    EXPECT_EQ(kv::composeExclusionFilter(QString(), "(not peno in (5))"), "(not peno in (5))");
    EXPECT_EQ(kv::composeExclusionFilter("(not peno in (5))", "(not peno in (5,6))"),
              "(not peno in (5,6))");
    EXPECT_EQ(kv::composeExclusionFilter("(not peno in (5))", QString()), QString());
}

TEST(ExclusionFilter, OneWholeGroupIsNotWrappedAgain)
{
    EXPECT_EQ(kv::composeExclusionFilter("  ((a) And (b))\r\n", "(not peno in (1))"),
              "((a) And (b)) and (not peno in (1))");
}

TEST(ExclusionFilter, SeveralTermsStartingWithTwoBracketsAreWrapped)
{
    EXPECT_EQ(kv::composeExclusionFilter("((peno=0)) Or (A) Or (B)", "(not peno in (1))"),
              "(((peno=0)) Or (A) Or (B)) and (not peno in (1))");
    EXPECT_FALSE(kv::isOneGroup("((peno=0)) Or (A)"));
    EXPECT_FALSE(kv::isOneGroup("(a) Or (b)"));
    EXPECT_TRUE(kv::isOneGroup("((nazev like '%)%'))"));
    EXPECT_FALSE(kv::isOneGroup("(a"));
}

#endif

class Exclusions : public ::testing::TestWithParam<kvtest::BackendCase>
{
protected:
    void SetUp() override
    {
        kv::settings() = kv::Settings();
        kv::settings().dataHome = home.path();
        kvtest::CompanyDb db;
        db.companySet();
        db.finishInto(home.file("Dta/KV2001.db"));
        kvtest::serveCompanyData(home.file("Dta/KV2001.db"), GetParam());
        ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
        exclusion.setStatusSink([this](const QString& t) { status = t; });
        exclusion.setWaitWindow([this]() { ++waitShown; }, [this]() { ++waitHidden; });
    }
    void TearDown() override { kv::settings() = kv::Settings(); }

    void select(const QString& filter) { dm.firms()->setFilter(filter, true); }
    int pos(int p) const { return dm.firms()->fieldAt(p, "peno").toInt(); }
    int current() const { return dm.firms()->integer("peno"); }
    QSet<int> firms() const
    {
        QSet<int> s;
        for (int p = 1; p <= dm.firms()->recordCount(); ++p)
            s.insert(pos(p));
        return s;
    }
    void goTo(int peno)
    {
        for (int p = 1; p <= dm.firms()->recordCount(); ++p)
            if (pos(p) == peno)
                dm.firms()->setPosition(p);
        ASSERT_EQ(current(), peno);
    }

    kvtest::TestHome home;
    kv::DataModule dm;
    Exclusion exclusion{dm};
    QString status = "untouched";
    int waitShown = 0;
    int waitHidden = 0;
};

TEST_P(Exclusions, TwoFirmsFirstCurrentThenRefusal)
{
    select("peno in (1,2)");
    dm.firms()->first();
    const int first = current();
    const int second = pos(2);
    EXPECT_EQ(exclusion.excludeCurrent(), Exclusion::Result::Excluded);
    EXPECT_EQ(dm.firms()->recordCount(), 1);
    EXPECT_EQ(current(), second);
    EXPECT_EQ(dm.firms()->filter(), QString("(peno in (1,2)) and (not peno in (%1))").arg(first));
    EXPECT_EQ(status, QString::fromUtf8("Počet vyjmutých záznamů : 1"));
    EXPECT_EQ(waitShown, 1);
    EXPECT_EQ(waitHidden, 1);

    const QString filter = dm.firms()->filter();
    EXPECT_EQ(exclusion.excludeCurrent(), Exclusion::Result::Refused);
    EXPECT_EQ(dm.firms()->filter(), filter);
    EXPECT_EQ(dm.excludedFirms().size(), 1);
    EXPECT_EQ(waitShown, 1);
}

TEST_P(Exclusions, EmptySetIsRefused)
{
    select("peno=999");
    EXPECT_EQ(exclusion.excludeCurrent(), Exclusion::Result::Refused);
    EXPECT_TRUE(dm.excludedFirms().isEmpty());
    EXPECT_EQ(status, "untouched");
}

TEST_P(Exclusions, FiveFirmsTheFollowingFirmBecomesCurrent)
{
    select("peno in (1,2,3,4,5)");
    dm.firms()->setPosition(3);
    const int third = current();
    const int fourth = pos(4);
    const int fifth = pos(5);
    EXPECT_EQ(exclusion.excludeCurrent(), Exclusion::Result::Excluded);
    EXPECT_EQ(dm.firms()->recordCount(), 4);
    EXPECT_EQ(dm.firms()->position(), 3);
    EXPECT_EQ(current(), fourth);
    EXPECT_FALSE(firms().contains(third));

    // The last one current: the new last one follows.
    dm.firms()->setPosition(4);
    ASSERT_EQ(current(), fifth);
    EXPECT_EQ(exclusion.excludeCurrent(), Exclusion::Result::Excluded);
    EXPECT_EQ(dm.firms()->recordCount(), 3);
    EXPECT_EQ(dm.firms()->position(), 3);
    EXPECT_EQ(current(), fourth);
}

TEST_P(Exclusions, ViewsHearOfTheExclusionOnce)
{
    select("peno in (1,2,3,4,5)");
    dm.firms()->setPosition(2);
    int moves = 0;
    QObject::connect(&dm, &kv::DataModule::firmMoved, [&moves]() { ++moves; });
    exclusion.excludeCurrent();
    EXPECT_EQ(moves, 1);
}

TEST_P(Exclusions, NamesAndNumbersInOrderOfExclusion)
{
    dm.firms()->setFilter("peno in (1,2,3,4,5)", true);
    goTo(4);
    exclusion.excludeCurrent();
    goTo(1);
    exclusion.excludeCurrent();
    const auto& list = dm.excludedFirms();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].peno, 4);
    EXPECT_EQ(list[0].name, QString::fromUtf8("Chrudimská"));
    EXPECT_EQ(list[1].peno, 1);
    EXPECT_EQ(dm.firms()->filter(), "((peno in (1,2,3,4,5))) and (not peno in (4,1))");
    EXPECT_EQ(status, QString::fromUtf8("Počet vyjmutých záznamů : 2"));
}

TEST_P(Exclusions, LeadingDoubleBracketOfSeveralTermsKeepsTheExcludedFirmOut)
{
    // Unwrapped, " and " would bind to the last term only and firm 1 would
    // stay in the set.
    select("((peno=1)) Or (peno=2)");
    goTo(1);
    exclusion.excludeCurrent();
    EXPECT_EQ(dm.firms()->filter(), "(((peno=1)) Or (peno=2)) and (not peno in (1))");
    EXPECT_EQ(firms(), QSet<int>({2}));
}

TEST_P(Exclusions, RestoreAllGivesTheSameSetAndEmptiesTheStatus)
{
    select("misto_id in(1,2)");
    const QSet<int> before = firms();
    dm.firms()->first();
    exclusion.excludeCurrent();
    exclusion.excludeCurrent();
    EXPECT_EQ(firms().size(), before.size() - 2);
    waitShown = 0;
    exclusion.restoreAll();
    EXPECT_EQ(firms(), before);
    EXPECT_TRUE(dm.excludedFirms().isEmpty());
    EXPECT_EQ(dm.firms()->filter(), "((misto_id in(1,2)))");
    EXPECT_EQ(status, QString());
    EXPECT_EQ(waitShown, 1);
}

TEST_P(Exclusions, RestoringOneByOneEmptiesTheStatus)
{
    select("misto_id in(1,2)");
    const QSet<int> before = firms();
    goTo(1);
    exclusion.excludeCurrent();
    goTo(4);
    exclusion.excludeCurrent();
    goTo(5);
    exclusion.excludeCurrent();
    exclusion.restoreSelected({1});
    EXPECT_EQ(dm.firms()->filter(), "((misto_id in(1,2))) and (not peno in (1,5))");
    EXPECT_EQ(status, QString::fromUtf8("Počet vyjmutých záznamů : 2"));
    exclusion.restoreSelected({});
    EXPECT_EQ(dm.excludedFirms().size(), 2);
    exclusion.restoreSelected({1, 0});
    EXPECT_EQ(status, QString());
    EXPECT_EQ(firms(), before);
}

TEST_P(Exclusions, ClearingLeavesFilterAndStatusAlone)
{
    select("peno in (1,2,3)");
    exclusion.excludeCurrent();
    const QString filter = dm.firms()->filter();
    status = "kept";
    exclusion.clearExclusions();
    exclusion.reapplyExclusion();
    EXPECT_TRUE(dm.excludedFirms().isEmpty());
    EXPECT_EQ(dm.firms()->filter(), filter);
    EXPECT_EQ(status, "kept");
}

TEST_P(Exclusions, ReapplyPutsTheClauseBackOnANewFilter)
{
    select("peno in (1,2,3)");
    goTo(2);
    exclusion.excludeCurrent();
    // The selection's OK installs its filter again, then re-applies.
    select("peno in (1,2,3)");
    exclusion.reapplyExclusion();
    EXPECT_EQ(dm.firms()->filter(), "(peno in (1,2,3)) and (not peno in (2))");
    EXPECT_EQ(firms(), QSet<int>({1, 3}));
}

TEST_P(Exclusions, CarriedNumbersStayCarriedThroughExclusionAndRestore)
{
    const auto numbers = std::make_shared<const kv::engine::Filter::Numbers>(
        kv::engine::Filter::Numbers{1, 2, 3, 4, 5});
    dm.firms()->setFilter(kv::engine::Filter::numberList("peno", numbers), true);
    goTo(4);
    EXPECT_EQ(exclusion.excludeCurrent(), Exclusion::Result::Excluded);
    EXPECT_TRUE(dm.firms()->filterWithSets().hasSets());
    EXPECT_EQ(dm.firms()->filterWithSets().sets().front(), numbers); // not copied, not re-read
    EXPECT_EQ(dm.firms()->filter(), "((peno in (1,2,3,4,5))) and (not peno in (4))");
    EXPECT_EQ(firms(), QSet<int>({1, 2, 3, 5}));
    exclusion.restoreAll();
    EXPECT_EQ(dm.firms()->filter(), "((peno in (1,2,3,4,5)))");
    EXPECT_EQ(firms(), QSet<int>({1, 2, 3, 4, 5}));
}

INSTANTIATE_TEST_SUITE_P(Engines, Exclusions, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });

} // namespace
