#include "selection/ShowValues.h"

#include "selection/TLVyber.h"

namespace kv
{

QString ShowValues(const TLVyber& list)
{
    return list.Texts.join(list.IsAnd ? QStringLiteral(" & ") : QStringLiteral(" | "));
}

} // namespace kv
