#include "domain/FilterBuilder.h"
#include "domain/SelectionState.h"
#include "tests/domain/RecordingRunner.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

using kv::SelectionState;
using Row = kv::SelectionState::Row;

namespace
{

const QString NameWord5 = QStringLiteral("select distinct(peno) from slnazev_p where id=5");
const QString NameWord9 = QStringLiteral("select distinct(peno) from slnazev_p where id=9");
const QString NameAnd = QStringLiteral(
    "select distinct(peno) from slnazev_p where peno in (1,2,3)  And  peno in (2,3,4) ");
const QString NameOr = QStringLiteral(
    "select distinct(peno) from slnazev_p where peno in (1,2,3)  Or  peno in (2,3,4) ");

class FilterBuilderTest : public ::testing::Test
{
protected:
    kvtest::TestHome home;
    kvtest::RecordingRunner runner;
    kv::FilterBuilder builder{runner, home.file(QStringLiteral("Pozn"))};
    SelectionState state;

    void add(Row r, std::initializer_list<int> ids, bool isAnd = true)
    {
        for (int id : ids)
            state.row(r).add(QStringLiteral("v%1").arg(id), QString::number(id));
        state.row(r).IsAnd = isAnd;
    }

    // Two name words whose firms are 1,2,3 and 2,3,4.
    void twoNameWords(bool isAnd)
    {
        add(Row::Nazev, {5, 9}, isAnd);
        runner.rows[NameWord5] = {1, 2, 3};
        runner.rows[NameWord9] = {2, 3, 4};
    }

    QString build() { return builder.buildFilter(state); }
};

} // namespace

TEST_F(FilterBuilderTest, EmptySelectionGivesEmptyFilterWithoutQueries)
{
    EXPECT_EQ(build(), QString());
    EXPECT_TRUE(runner.statements.isEmpty());
}

TEST_F(FilterBuilderTest, TownRowListsIdsWithBareCommas)
{
    add(Row::Misto, {3, 17});
    EXPECT_EQ(build(), QStringLiteral("(misto_id in(3,17))"));
    EXPECT_TRUE(runner.statements.isEmpty());
}

TEST_F(FilterBuilderTest, BetweenRowsJoinerFollowsTheSwitch)
{
    add(Row::Misto, {3});
    add(Row::Okres, {5});
    state.rgLogMezi = 0;
    EXPECT_EQ(build(), QStringLiteral("(misto_id in(3)) Or (Okres_id in(5))"));
    state.rgLogMezi = 1;
    EXPECT_EQ(build(), QStringLiteral("(misto_id in(3)) And (Okres_id in(5))"));
}

TEST_F(FilterBuilderTest, TownDistrictAndIcoRowsAreAlwaysAlternatives)
{
    add(Row::Misto, {3, 4}, true);
    add(Row::Okres, {5, 6}, true);
    add(Row::Ico, {200219, 1017}, true);
    EXPECT_EQ(build(), QStringLiteral("(misto_id in(3,4)) And (Okres_id in(5,6)) And "
                                      "(peno in(200219,1017))"));
}

TEST_F(FilterBuilderTest, CheckBoxesAloneAndTheJoinerIsRemoved)
{
    state.cbEmail = true;
    state.cbWWW = true;
    EXPECT_EQ(build(), QStringLiteral("(email is not null) And (www is not null)"));
    state.rgLogMezi = 0;
    state.cbWWW = false;
    EXPECT_EQ(build(), QStringLiteral("(email is not null)"));
}

TEST_F(FilterBuilderTest, NameWordsJoinedByAnd)
{
    twoNameWords(true);
    runner.rows[NameAnd] = {2, 3};
    EXPECT_EQ(build(), QStringLiteral("(peno in (2,3))"));
    EXPECT_EQ(runner.statements, (QStringList{NameWord5, NameWord9, NameAnd}));
}

TEST_F(FilterBuilderTest, IndexRowsCarryTheirFirmsAsNumbersSpelledOnlyInTheText)
{
    twoNameWords(true);
    runner.rows[NameAnd] = {3, 2};
    add(Row::Misto, {7});
    const kv::engine::Filter f = builder.buildFilterWithSets(state);
    ASSERT_EQ(f.sets().size(), 1u);
    EXPECT_EQ(*f.sets().front(), (kv::engine::Filter::Numbers{3, 2}));
    EXPECT_FALSE(f.skeleton().contains(QStringLiteral("3,2")));
    EXPECT_EQ(f.text(), QStringLiteral("(peno in (3,2)) And (misto_id in(7))"));
}

TEST_F(FilterBuilderTest, NameWordsJoinedByOrKeepEngineOrder)
{
    twoNameWords(false);
    runner.rows[NameOr] = {4, 1, 2, 3};
    EXPECT_EQ(build(), QStringLiteral("(peno in (4,1,2,3))"));
    EXPECT_EQ(runner.statements.last(), NameOr);
}

TEST_F(FilterBuilderTest, AndWordsNeverTogetherGiveNeverTrueCondition)
{
    twoNameWords(true); // combining statement answers no rows
    EXPECT_EQ(build(), QStringLiteral("(peno=0)"));
    EXPECT_EQ(runner.statements.last(), NameAnd);
}

TEST_F(FilterBuilderTest, IndustryTermsHaveNoExtraBlanks)
{
    add(Row::Zatrid, {101, 102}, false);
    runner.rows[QStringLiteral("select distinct(peno) from pZatrid where kod=101")] = {7, 8};
    runner.rows[QStringLiteral("select distinct(peno) from pZatrid where kod=102")] = {9};
    const QString combine =
        QStringLiteral("select distinct(peno) from pZatrid where peno in (7,8) Or peno in (9)");
    runner.rows[combine] = {7, 8, 9};
    EXPECT_EQ(build(), QStringLiteral("(peno in (7,8,9))"));
    EXPECT_EQ(runner.statements.last(), combine);
}

TEST_F(FilterBuilderTest, StreetAndKeywordStatementsAndNeverTrueConditions)
{
    add(Row::Ulice, {11, 12});
    add(Row::Radky, {21, 22});
    runner.rows[QStringLiteral("select distinct(peno) from slUlice_p where id=11")] = {1};
    runner.rows[QStringLiteral("select distinct(peno) from slUlice_p where id=12")] = {2};
    runner.rows[QStringLiteral("select distinct(peno) from slRadky_p where id=21")] = {3};
    runner.rows[QStringLiteral("select distinct(peno) from slRadky_p where id=22")] = {4};
    EXPECT_EQ(build(), QStringLiteral("((peno=0)) And ((peno=0))"));
    EXPECT_TRUE(runner.statements.contains(QStringLiteral(
        "select distinct(peno) from slUlice_p where peno in (1)  And  peno in (2) ")));
    EXPECT_TRUE(runner.statements.contains(QStringLiteral(
        "select distinct(peno) from slRadky_p where peno in (3)  And  peno in (4) ")));
}

TEST_F(FilterBuilderTest, SingleValueStillRunsTheCombiningStatement)
{
    add(Row::Zatrid, {101});
    runner.rows[QStringLiteral("select distinct(peno) from pZatrid where kod=101")] = {7, 8};
    runner.rows[QStringLiteral("select distinct(peno) from pZatrid where peno in (7,8)")] = {7, 8};
    EXPECT_EQ(build(), QStringLiteral("(peno in (7,8))"));
    EXPECT_EQ(runner.statements.size(), 2);
}

TEST_F(FilterBuilderTest, ConditionsComeInFixedOrder)
{
    home.write(QStringLiteral("Pozn/15.tx"), "note");
    add(Row::Radky, {21});
    add(Row::Ico, {900});
    add(Row::Okres, {5});
    add(Row::Misto, {3});
    add(Row::Zatrid, {101});
    add(Row::Ulice, {11});
    add(Row::Nazev, {5});
    state.cbPozn = state.cbEmail = state.cbWWW = true;
    state.rgLogMezi = 0;
    runner.rows[NameWord5] = {1};
    runner.rows[QStringLiteral("select distinct(peno) from slnazev_p where peno in (1) ")] = {1};
    runner.rows[QStringLiteral("select distinct(peno) from slUlice_p where id=11")] = {2};
    runner.rows[QStringLiteral("select distinct(peno) from slUlice_p where peno in (2) ")] = {2};
    runner.rows[QStringLiteral("select distinct(peno) from pZatrid where kod=101")] = {3};
    runner.rows[QStringLiteral("select distinct(peno) from pZatrid where peno in (3)")] = {3};
    runner.rows[QStringLiteral("select distinct(peno) from slRadky_p where id=21")] = {4};
    runner.rows[QStringLiteral("select distinct(peno) from slRadky_p where peno in (4) ")] = {4};
    EXPECT_EQ(build(), QStringLiteral("(peno in (1)) Or (peno in (2)) Or (peno in (3)) Or "
                                      "(misto_id in(3)) Or (Okres_id in(5)) Or (peno in(900)) Or "
                                      "(peno in (4)) Or (peno in (15)) Or (email is not null) Or "
                                      "(www is not null)"));
}

TEST_F(FilterBuilderTest, NoteBoxWithoutNotesAddsNothing)
{
    state.cbPozn = true;
    EXPECT_EQ(build(), QString());
    home.write(QStringLiteral("Pozn/abc.tx"), "x");
    home.write(QStringLiteral("Pozn/15.tx"), "x");
    EXPECT_EQ(build(), QStringLiteral("(peno in (15))"));
}

// A value without index rows must never put "peno in ()" into a statement.
TEST_F(FilterBuilderTest, AndRowWithUnindexedValueMatchesNothing)
{
    add(Row::Nazev, {5, 9});
    runner.rows[NameWord5] = {1, 2};
    EXPECT_EQ(build(), QStringLiteral("(peno=0)"));
    for (const QString& s : runner.statements)
        EXPECT_FALSE(s.contains(QStringLiteral("()"))) << s.toStdString();
}

TEST_F(FilterBuilderTest, OrRowIgnoresUnindexedValue)
{
    add(Row::Nazev, {5, 9, 7}, false);
    runner.rows[NameWord5] = {1, 2};
    runner.rows[QStringLiteral("select distinct(peno) from slnazev_p where id=7")] = {4};
    const QString combine = QStringLiteral(
        "select distinct(peno) from slnazev_p where peno in (1,2)  Or  peno in (4) ");
    runner.rows[combine] = {1, 2, 4};
    EXPECT_EQ(build(), QStringLiteral("(peno in (1,2,4))"));
    EXPECT_EQ(runner.statements.last(), combine);
}

TEST_F(FilterBuilderTest, OrRowWithoutAnyIndexedValueMatchesNothing)
{
    add(Row::Radky, {21, 22}, false);
    add(Row::Misto, {3});
    EXPECT_EQ(build(), QStringLiteral("(misto_id in(3)) And ((peno=0))"));
    EXPECT_EQ(runner.statements.size(), 2); // only the per-value queries
}

TEST_F(FilterBuilderTest, OrRowWhoseCombinationIsEmptyMatchesNothing)
{
    add(Row::Ulice, {11}, false);
    runner.rows[QStringLiteral("select distinct(peno) from slUlice_p where id=11")] = {2};
    EXPECT_EQ(build(), QStringLiteral("((peno=0))"));
}

TEST_F(FilterBuilderTest, KeysThatAreNotNumbersAreRefused)
{
    state.row(Row::Misto).add(QStringLiteral("Praha"), QStringLiteral("3) or (1=1"));
    EXPECT_KV_ERROR(build(), Selection);
    state.row(Row::Misto).clear();
    state.row(Row::Nazev).add(QStringLiteral("x"), QStringLiteral("5 or 1=1"));
    EXPECT_KV_ERROR(build(), Selection);
    EXPECT_TRUE(runner.statements.isEmpty());
}

TEST_F(FilterBuilderTest, MismatchedRowIsAnError)
{
    add(Row::Okres, {5});
    state.row(Row::Okres).Ids.append(QStringLiteral("6"));
    EXPECT_KV_ERROR(build(), Selection);
}
