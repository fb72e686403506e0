#include "domain/SelectionModel.h"
#include "domain/SelectionRecord.h"
#include "tests/domain/SelectionFixtures.h"

#include <gtest/gtest.h>

using kv::SelectionModel;
using kv::SelectionState;

TEST(SelectionModel, CreationLeavesEmptyCriteriaAndEmptyRecordSnapshot)
{
    SelectionModel model;
    EXPECT_EQ(model.state, SelectionState());
    EXPECT_EQ(model.snapshot().count("\r\n"), kv::selectionrecord::EmptyRecordLines);
}

TEST(SelectionModel, ClearAllResetsSwitchesBoxesAndRowFlags)
{
    SelectionModel model;
    model.state = kvtest::fullSelection();
    model.clearAll();
    EXPECT_EQ(model.state.rgLogV, 0);
    EXPECT_EQ(model.state.rgLogMezi, 1);
    EXPECT_FALSE(model.state.cbPozn || model.state.cbEmail || model.state.cbWWW);
    for (const kv::CriterionValueList& row : model.state.rows) {
        EXPECT_EQ(row.count(), 0);
        EXPECT_TRUE(row.IsAnd);
    }
}

// New selection (ClearAll) or Clear all answered Yes, then Cancel.
TEST(SelectionModel, CancelAfterClearAllBringsCriteriaBack)
{
    SelectionModel model;
    model.state = kvtest::fullSelection();
    model.clearAll();
    model.state.row(SelectionState::Misto).add(QStringLiteral("Brno"), QStringLiteral("4"));
    model.restoreSnapshot();
    EXPECT_EQ(model.state, kvtest::fullSelection());
}

// Edit selection takes the snapshot; Cancel undoes later edits.
TEST(SelectionModel, CancelAfterEditsRestoresSnapshot)
{
    SelectionModel model;
    model.state = kvtest::fullSelection();
    model.takeSnapshot();
    model.state.row(SelectionState::Nazev).remove(0);
    model.state.cbEmail = true;
    model.state.rgLogMezi = 1;
    model.restoreSnapshot();
    EXPECT_EQ(model.state, kvtest::fullSelection());
}

TEST(SelectionModel, UnreadableSnapshotLeavesCriteriaAlone)
{
    SelectionModel model;
    model.state.row(SelectionState::Nazev).add(QStringLiteral("x"), QStringLiteral("not a key"));
    model.takeSnapshot(); // the record holds a key that reading refuses
    model.state = kvtest::fullSelection();
    EXPECT_NO_THROW(model.restoreSnapshot());
    EXPECT_EQ(model.state, kvtest::fullSelection());
}
