#pragma once

namespace kv
{

class MainWindow;

// Registers the Presentation command: the presentation window is created,
// shown modally and destroyed.
void installPresentationCommand(MainWindow& window);

} // namespace kv
