#pragma once

namespace kv
{

class DataModule;
class MainWindow;
class ProfileWindow;

// Registers the Profile, Note and Display settings commands with the main
// window and creates the profile window (shown at once, as at start).
void installProfileCommands(MainWindow& window, DataModule& dm);

// The open profile window, or null once the user closed it.
ProfileWindow* profileWindow();

} // namespace kv
