#pragma once

namespace kv
{

// Hourglass for the lifetime of the object, also when an error leaves early.
// Where a message box follows, end the scope before it so that the box is
// not shown under the hourglass.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace kv
