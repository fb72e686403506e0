#pragma once

#include "selection/SelectionState.h"

#include <array>

namespace kv
{

class TDM;
namespace engine
{
class TableCursor;
}

// What the selection window knows about each criterion row: the name its
// controls carry (edNazev, sbNazev, lNazev), the label text, and the
// dictionary the row picks its values from.
struct VyberRow {
    SelectionState::Row row;
    const char* name;      // control name suffix: "Nazev" gives lNazev, edNazev, sbNazev
    int textId;            // caption of the label
    const char* listField; // shown in the dictionary list and searched by prefix
    const char* keyField;  // becomes the value's id
    bool alwaysOr;         // town, district, company number: within-row logic fixed to "nebo"
    bool duplicateByKey;   // industry: a value is known by its code, the others by their text
};

// In the window's order (SelectionState::Row).
const std::array<VyberRow, SelectionState::RowCount>& vyberRows();
const VyberRow& vyberRow(SelectionState::Row row);

// The data module's cursor over the row's dictionary; nullptr while the
// database is not open.
engine::TableCursor* dictionaryCursor(TDM& dm, SelectionState::Row row);

} // namespace kv
