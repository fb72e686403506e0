#include "domain/CriterionRows.h"

#include "domain/DataModule.h"

namespace kv
{

using Row = SelectionState::Row;

const std::array<CriterionRow, SelectionState::RowCount>& vyberRows()
{
    static const std::array<CriterionRow, SelectionState::RowCount> rows{{
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

const CriterionRow& vyberRow(Row row)
{
    return vyberRows()[size_t(row)];
}

engine::TableCursor* dictionaryCursor(DataModule& dm, Row row)
{
    switch (row) {
    case Row::Nazev:
        return dm.nameDictionary();
    case Row::Ulice:
        return dm.streetDictionary();
    case Row::Zatrid:
        return dm.industries();
    case Row::Misto:
        return dm.townDictionary();
    case Row::Okres:
        return dm.districtDictionary();
    case Row::Ico:
        return dm.icoDictionary();
    case Row::Radky:
        return dm.keywordDictionary();
    case Row::RowCount:
        break;
    }
    return nullptr;
}

} // namespace kv
