#pragma once

#include "domain/SelectionState.h"

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
    s.row(Row::Nazev).add(QStringLiteral("Alfa"), QStringLiteral("5"));
    s.row(Row::Nazev).add(QStringLiteral("Beta"), QStringLiteral("9"));
    s.row(Row::Nazev).IsAnd = false;
    s.row(Row::Ulice).add(QStringLiteral("N\u00e1dra\u017en\u00ed"), QStringLiteral("11"));
    s.row(Row::Zatrid).add(QStringLiteral("Stavebnictv\u00ed"), QStringLiteral("4521"));
    s.row(Row::Zatrid).add(QStringLiteral("Doprava"), QStringLiteral("6024"));
    s.row(Row::Misto).add(QStringLiteral("Praha"), QStringLiteral("3"));
    s.row(Row::Misto).add(QStringLiteral("Plze\u0148"), QStringLiteral("17"));
    s.row(Row::Misto).IsAnd = false;
    s.row(Row::Okres).add(QStringLiteral("Kladno"), QStringLiteral("8"));
    s.row(Row::Ico).add(QStringLiteral("00012345"), QStringLiteral("200219"));
    s.row(Row::Radky).add(QStringLiteral("beton"), QStringLiteral("21"));
    s.row(Row::Radky).add(QStringLiteral("\u0161t\u011brk"), QStringLiteral("22"));
    s.row(Row::Radky).add(QStringLiteral("p\u00edsek"), QStringLiteral("23"));
    return s;
}

} // namespace kvtest
