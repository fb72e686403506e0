#pragma once

#include "domain/CriterionValueList.h"

#include <array>

namespace kv
{

// Everything the selection window holds as criteria: the seven rows, both
// logic switches and the three extra conditions. The window shows it; the
// filter, the snapshot and selection files are made from it.
class SelectionState
{
public:
    // The rows in the window's order, which is also the order in which the
    // filter takes their conditions.
    enum Row { Nazev, Ulice, Zatrid, Misto, Okres, Ico, Radky, RowCount };

    // Selection records store the rows in this order.
    static constexpr std::array<Row, RowCount> RecordOrder{Nazev, Zatrid, Misto, Okres,
                                                           Ico,   Radky,  Ulice};

    std::array<CriterionValueList, RowCount> rows;
    int rgLogV = 0;    // within-row switch: 0 "nebo", 1 "a zároveň"
    int rgLogMezi = 1; // between-rows switch, same items
    bool cbPozn = false;
    bool cbEmail = false;
    bool cbWWW = false;

    CriterionValueList& row(Row r) { return rows[r]; }
    const CriterionValueList& row(Row r) const { return rows[r]; }

    // Back to a fresh window: empty and-rows, no extra condition, "nebo"
    // within rows and "a zároveň" between them.
    void clear();

    bool operator==(const SelectionState&) const = default;
};

} // namespace kv
