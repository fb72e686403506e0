#pragma once

namespace kv
{

class DataModule;
class MainWindow;
class SelectionWindow;

// Registers New, Edit, Load and Save selection with the main window and
// wires the selection window's status text, help and tip requests.
void installSelectionCommands(MainWindow& window, DataModule& dm, SelectionWindow& vyber);

} // namespace kv
