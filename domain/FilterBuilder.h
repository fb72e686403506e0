#pragma once

#include "engine/Filter.h"

#include <QString>

namespace kv
{

class SelectionState;
class StatementRunner;
class CriterionValueList;
class NoteStore;

// Turns the selection's criteria into one filter over table firma. The
// name, street, industry and keyword rows are resolved through their index
// tables into literal lists of company numbers; the other rows and the
// check boxes become direct conditions.
class FilterBuilder
{
public:
    // noteDir is the data home's Pozn folder, read for the note condition.
    FilterBuilder(StatementRunner& runner, QString noteDir);
    // The note condition asks notes, the notes the session shows: on a
    // server a firm has a note when any note of it that this login role may
    // read exists, whoever wrote it, as the profile lists them all. The
    // store answers in one question, and the numbers travel on as numbers.
    FilterBuilder(StatementRunner& runner, NoteStore& notes);

    // The whole filter, possibly empty. Keys that are not whole numbers throw
    // Error::selection, as do the lists' own checks; engine errors pass through.
    // The lists of company numbers found through the index tables are carried
    // as numbers; text() spells the same filter as buildFilter.
    engine::Filter buildFilterWithSets(const SelectionState& state);
    // The same filter as text.
    QString buildFilter(const SelectionState& state) { return buildFilterWithSets(state).text(); }

    engine::Filter nameCondition(const CriterionValueList& list);
    engine::Filter streetCondition(const CriterionValueList& list);
    engine::Filter industryCondition(const CriterionValueList& list);
    engine::Filter keywordCondition(const CriterionValueList& list);
    // "Has a note": "(peno in (...))", empty when no firm has one.
    engine::Filter noteCondition();

    // How one index table is queried and how its terms are spelled.
    struct IndexTable {
        const char* perValuePrefix;
        const char* table;    // the index table and its key field, as the
        const char* keyField; // per-value statement names them
        const char* combiningPrefix;
        const char* termEnd;
        const char* separatorTail; // follows the row's joiner between terms
        const char* neverTrue;
    };

private:
    engine::Filter indexCondition(const IndexTable& table, const CriterionValueList& list);

    StatementRunner& m_runner;
    QString m_noteDir;
    NoteStore* m_notes = nullptr;
};

} // namespace kv
