#include "domain/SelectionState.h"

namespace kv
{

void SelectionState::clear()
{
    *this = SelectionState();
}

} // namespace kv
