#pragma once

#include "selection/SelectionState.h"

namespace kvtest
{

// A selection with every row, switch and check box away from its default,
// each row distinct so that a mixed-up block order shows.
inline kv::SelectionState fullSelection()
{
    using Row = kv::SelectionState::Row;
    kv::SelectionState s;
    s.rgLogV = 1;
    s.rgLogMezi = 0;
    s.cbPozn = true;
    s.cbEmail = false;
    s.cbWWW = true;
    s.row(Row::Nazev).Add(QStringLiteral("Alfa"), QStringLiteral("5"));
    s.row(Row::Nazev).Add(QStringLiteral("Beta"), QStringLiteral("9"));
    s.row(Row::Nazev).IsAnd = false;
    s.row(Row::Ulice).Add(QStringLiteral("N\u00e1dra\u017en\u00ed"), QStringLiteral("11"));
    s.row(Row::Zatrid).Add(QStringLiteral("Stavebnictv\u00ed"), QStringLiteral("4521"));
    s.row(Row::Zatrid).Add(QStringLiteral("Doprava"), QStringLiteral("6024"));
    s.row(Row::Misto).Add(QStringLiteral("Praha"), QStringLiteral("3"));
    s.row(Row::Misto).Add(QStringLiteral("Plze\u0148"), QStringLiteral("17"));
    s.row(Row::Misto).IsAnd = false;
    s.row(Row::Okres).Add(QStringLiteral("Kladno"), QStringLiteral("8"));
    s.row(Row::Ico).Add(QStringLiteral("00012345"), QStringLiteral("200219"));
    s.row(Row::Radky).Add(QStringLiteral("beton"), QStringLiteral("21"));
    s.row(Row::Radky).Add(QStringLiteral("\u0161t\u011brk"), QStringLiteral("22"));
    s.row(Row::Radky).Add(QStringLiteral("p\u00edsek"), QStringLiteral("23"));
    return s;
}

} // namespace kvtest
