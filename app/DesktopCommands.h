#pragma once

#include <memory>

namespace kv
{

class PrintCommands;
class TDM;
class TFMain;
class TFVyber;

// Wires every command of the desktop program to the window or operation
// that serves it, once the data module is open: selection, exclusion,
// profile, presentation and printing. Lives shorter than the main window.
class DesktopCommands
{
public:
    DesktopCommands(TFMain& window, TDM& dm);
    ~DesktopCommands();

    TFVyber& selection() const { return *m_vyber; }
    PrintCommands& printing() const { return *m_print; }

private:
    std::unique_ptr<TFVyber> m_vyber;
    PrintCommands* m_print; // owned by the window
};

} // namespace kv
