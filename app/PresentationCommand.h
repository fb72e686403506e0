#pragma once

namespace kv
{

class TFMain;

// Registers the Presentation command: the presentation window is created,
// shown modally and destroyed.
void installPresentationCommand(TFMain& window);

} // namespace kv
