#include "domain/ShowValues.h"

#include "domain/CriterionValueList.h"

namespace kv
{

QString showValues(const CriterionValueList& list)
{
    return list.Texts.join(list.IsAnd ? QStringLiteral(" & ") : QStringLiteral(" | "));
}

} // namespace kv
