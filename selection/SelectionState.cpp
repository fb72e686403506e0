#include "selection/SelectionState.h"

namespace kv
{

void SelectionState::Clear()
{
    *this = SelectionState();
}

} // namespace kv
