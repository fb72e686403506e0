#pragma once

#include "ui/MainMenus.h"

#include <QObject>
#include <QPointer>
#include <functional>

namespace kv
{

class DataModule;
class MainWindow;
class PrintPreviewWindow;

// The print commands of the main window. Each one closes and destroys the
// preview left from before, creates a new one ready to print, and opens the
// settings window of its report, which generates into that preview.
class PrintCommands : public QObject
{
    Q_OBJECT
public:
    // Opens the settings window of one report; currentOnly is the pop-up's
    // "profile of the current firm" preselection.
    using SettingsWindow = std::function<void(PrintPreviewWindow& preview, bool currentOnly)>;

    PrintCommands(MainWindow& window, DataModule& dm);
    void setSettingsWindow(Command command, SettingsWindow open);
    PrintPreviewWindow* preview() const;

private:
    void run(Command command, bool currentOnly);

    MainWindow& m_window;
    QPointer<PrintPreviewWindow> m_preview;
    QHash<int, SettingsWindow> m_settings;
};

} // namespace kv
