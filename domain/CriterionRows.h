#pragma once

#include "domain/SelectionState.h"

#include <array>

namespace kv
{

class DataModule;
namespace engine
{
class TableCursor;
}

// What the selection window knows about each criterion row: the name its
// controls carry (edNazev, sbNazev, lNazev), the label text, and the
// dictionary the row picks its values from.
struct CriterionRow {
    SelectionState::Row row;
    const char* name;      // control name suffix: "Nazev" gives lNazev, edNazev, sbNazev
    int textId;            // caption of the label
    const char* listField; // shown in the dictionary list and searched by prefix
    const char* keyField;  // becomes the value's id
    bool alwaysOr;         // town, district, company number: within-row logic fixed to "nebo"
    bool duplicateByKey;   // industry: a value is known by its code, the others by their text
};

// In the window's order (SelectionState::Row).
const std::array<CriterionRow, SelectionState::RowCount>& vyberRows();
const CriterionRow& vyberRow(SelectionState::Row row);

// The data module's cursor over the row's dictionary; nullptr while the
// database is not open.
engine::TableCursor* dictionaryCursor(DataModule& dm, SelectionState::Row row);

} // namespace kv
