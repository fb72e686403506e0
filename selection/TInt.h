#pragma once

#include <QtGlobal>

namespace kv
{

// An integer key carried beside a list entry: the industry code of an
// industry search entry, the company number of an excluded firm. Company
// numbers go beyond 32 bits, so the key is 64 bits wide.
class TInt
{
public:
    qint64 Value = 0;
};

} // namespace kv
