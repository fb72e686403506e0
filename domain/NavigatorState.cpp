#include "domain/NavigatorState.h"

namespace kv
{

NavigatorState NavigatorState::at(int position, int count)
{
    NavigatorState s;
    s.visible = count != 1;
    const bool has = count > 0 && position >= 1 && position <= count;
    s.first = s.prior = has && position > 1;
    s.next = s.last = has && position < count;
    return s;
}

} // namespace kv
