#include "selection/VyberRows.h"

#include "data/TDM.h"

namespace kv
{

using Row = SelectionState::Row;

const std::array<VyberRow, SelectionState::RowCount>& vyberRows()
{
    static const std::array<VyberRow, SelectionState::RowCount> rows{{
        {Row::Nazev, "Nazev", 22, "txt", "id", false, false},
        {Row::Ulice, "Ulice", 23, "txt", "id", false, false},
        {Row::Zatrid, "Zatrid", 32, "txt", "kod", false, true},
        {Row::Misto, "Misto", 24, "misto", "id", true, false},
        {Row::Okres, "Okres", 26, "okres", "id", true, false},
        {Row::Ico, "ICO", 21, "ico", "peno", true, false},
        {Row::Radky, "Radky", 221, "txt", "id", false, false},
    }};
    return rows;
}

const VyberRow& vyberRow(Row row)
{
    return vyberRows()[size_t(row)];
}

engine::TableCursor* dictionaryCursor(TDM& dm, Row row)
{
    switch (row) {
    case Row::Nazev:
        return dm.TNazev;
    case Row::Ulice:
        return dm.TUlice;
    case Row::Zatrid:
        return dm.TZatrid;
    case Row::Misto:
        return dm.TMisto;
    case Row::Okres:
        return dm.TOkres;
    case Row::Ico:
        return dm.TICO;
    case Row::Radky:
        return dm.TSlRadky;
    case Row::RowCount:
        break;
    }
    return nullptr;
}

} // namespace kv
