#pragma once

#include <QtGlobal>

namespace kv
{

// An integer key carried beside a list entry: the industry code of an
// industry search entry, the company number of an excluded firm.
class TInt
{
public:
    qint32 Value = 0;
};

} // namespace kv
