#pragma once

namespace kv
{

// What a record navigator (first, previous, next, last) offers at a given
// position of its cursor. The advertisement window hides its navigator
// when there is exactly one record: with nothing to move to it is clutter.
struct NavigatorState {
    bool visible = false;
    bool first = false;
    bool prior = false;
    bool next = false;
    bool last = false;

    // position: 1-based, 0 when the cursor is empty.
    static NavigatorState at(int position, int count);
    bool operator==(const NavigatorState&) const = default;
};

} // namespace kv
