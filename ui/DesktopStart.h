#pragma once

#include <QString>

namespace kv
{

class MainWindow;

// The parts of the desktop start-up that show widgets, for app/Startup,
// which only wires the pieces together.
namespace DesktopStart
{

// The program's icon on every window, from the splash on.
void setProductIcon();
// Message 15 under caption 17: the configuration or the data home is
// unusable.
void reportBadConfiguration();
// Why the company database did not open; a missing file is told plainly,
// any other failure as an error.
void reportOpenFailure(const QString& message, bool missingFile);
// Shows the main window minimised, or maximised over the whole screen.
void showMainWindow(MainWindow& window, bool minimized);

} // namespace DesktopStart

} // namespace kv
