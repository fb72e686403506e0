#pragma once

class QWidget;

namespace kv
{

class PrintCommands;
class DataModule;

// Creates the list and profile print settings windows (they live as long as
// the main window, its children FSetSeznam and FSetProfil) and hands them to
// the print commands.
void installListPrinting(PrintCommands& commands, DataModule& dm, QWidget& window);

} // namespace kv
