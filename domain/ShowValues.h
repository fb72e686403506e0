#pragma once

#include <QString>

namespace kv
{

class CriterionValueList;

// The text a row's edit shows: the values in order, joined by " & " for an
// and-row and " | " for an or-row ("Praha | Plzeň"); empty for no values.
QString showValues(const CriterionValueList& list);

} // namespace kv
