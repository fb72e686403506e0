#pragma once

#include <memory>

namespace kv
{

class PrintCommands;
class DataModule;
class MainWindow;
class SelectionWindow;
class ServerWaitHook;

// Wires every command of the desktop program to the window or operation
// that serves it, once the data module is open: selection, exclusion,
// profile, presentation and printing. Lives shorter than the main window.
class DesktopCommands
{
public:
    DesktopCommands(MainWindow& window, DataModule& dm);
    ~DesktopCommands();

    SelectionWindow& selection() const { return *m_vyber; }
    PrintCommands& printing() const { return *m_print; }

private:
    // First, so that it outlives every window: their statements on the
    // server wait through it.
    std::unique_ptr<ServerWaitHook> m_serverWait;
    std::unique_ptr<SelectionWindow> m_vyber;
    PrintCommands* m_print; // owned by the window
};

} // namespace kv
