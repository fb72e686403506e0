#pragma once

#include <functional>

namespace kv
{

class DataModule;
class MainWindow;

// Registers Exclude, Show excluded and Export with the main window; creates
// the excluded-records window (hidden until called). Returns the re-applying
// of the exclusion list, for the selection window's OK.
std::function<void()> installExclusionCommands(MainWindow& window, DataModule& dm);

} // namespace kv
