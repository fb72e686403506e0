#pragma once

namespace kv
{

class TDM;
class TFMain;
class TFVyber;

// Registers New, Edit, Load and Save selection with the main window and
// wires the selection window's status text, help and tip requests.
void installSelectionCommands(TFMain& window, TDM& dm, TFVyber& vyber);

} // namespace kv
