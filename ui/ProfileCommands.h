#pragma once

class QWidget;

namespace kv
{

class DataModule;
class MainWindow;
class ProfileWindow;

// Registers the Profile, Note and Display settings commands with the main
// window and creates the profile window (shown at once, as at start).
void installProfileCommands(MainWindow& window, DataModule& dm);

// The profile window made last, or null once the user closed it.
ProfileWindow* profileWindow();
// The profile window of this main window, or null when it is closed.
ProfileWindow* profileOf(QWidget& window);

} // namespace kv
