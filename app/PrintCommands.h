#pragma once

#include "app/MainMenus.h"

#include <QObject>
#include <QPointer>
#include <functional>

namespace kv
{

class TDM;
class TFMain;
class TFPreview;

// The print commands of the main window. Each one closes and destroys the
// preview left from before, creates a new one ready to print, and opens the
// settings window of its report, which generates into that preview.
class PrintCommands : public QObject
{
    Q_OBJECT
public:
    // Opens the settings window of one report; currentOnly is the pop-up's
    // "profile of the current firm" preselection.
    using SettingsWindow = std::function<void(TFPreview& preview, bool currentOnly)>;

    PrintCommands(TFMain& window, TDM& dm);
    void setSettingsWindow(Command command, SettingsWindow open);
    TFPreview* preview() const;

private:
    void run(Command command, bool currentOnly);

    TFMain& m_window;
    QPointer<TFPreview> m_preview;
    QHash<int, SettingsWindow> m_settings;
};

} // namespace kv
