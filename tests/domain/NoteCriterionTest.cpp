// The selection's note criterion over the notes the session shows: the
// private note files, or on the server (test_notes_pg) every note of any
// author this login role may read, asked in one go and carried as numbers.
#include "domain/FilterBuilder.h"
#include "domain/SelectionState.h"
#include "tests/domain/RecordingRunner.h"
#include "tests/support/NoteBackend.h"

#include <gtest/gtest.h>

TEST(KV_NOTES_SUITE(NoteCriterion),
     AFirmMatchesWhenAnyOfItsNotesExistsAndNoNoteLeavesTheCriterionOut)
{
    kvtest::NoteBackend notes;
    kvtest::RecordingRunner runner;
    kv::SelectionState state;
    state.cbPozn = true;
    state.cbEmail = true;
    kv::FilterBuilder builder(runner, notes.store());
    EXPECT_EQ(builder.buildFilter(state), QStringLiteral("(email is not null)"));

    notes.write(2033, "Volat ráno");
    notes.write(15, "Nový sklad", "petr"); // a colleague's note counts as well
    notes.write(7, "Jen moje");
    notes.write(99, "smazaná");
    notes.write(99, "");
    const kv::engine::Filter filter = builder.buildFilterWithSets(state);
    EXPECT_EQ(filter.text(), QStringLiteral("(peno in (7,15,2033)) And (email is not null)"));
    EXPECT_TRUE(filter.hasSets()); // the numbers travel as numbers
    EXPECT_TRUE(runner.statements.isEmpty());
    EXPECT_EQ(notes.store().firmsWithNotes(), (std::vector<qint64>{7, 15, 2033}));
}
