#pragma once

namespace kv
{

class TDM;
class TFMain;
class TFProfil;

// Registers the Profile, Note and Display settings commands with the main
// window and creates the profile window (shown at once, as at start).
void installProfileCommands(TFMain& window, TDM& dm);

// The open profile window, or null once the user closed it.
TFProfil* profileWindow();

} // namespace kv
