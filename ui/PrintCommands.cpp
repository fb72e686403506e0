#include "ui/PrintCommands.h"

#include "reports/Report.h"
#include "ui/MainWindow.h"
#include "ui/PrintPreviewWindow.h"

namespace kv
{

PrintCommands::PrintCommands(MainWindow& window, DataModule&) : QObject(&window), m_window(window)
{
    window.setHandler(Command::PrintList,
                      [this](const QString&) { run(Command::PrintList, false); });
    window.setHandler(Command::PrintProfiles,
                      [this](const QString&) { run(Command::PrintProfiles, false); });
    window.setHandler(Command::PrintProfileCurrent,
                      [this](const QString&) { run(Command::PrintProfiles, true); });
    window.setHandler(Command::PrintLabels,
                      [this](const QString&) { run(Command::PrintLabels, false); });
}

PrintPreviewWindow* PrintCommands::preview() const
{
    return m_preview;
}

void PrintCommands::setSettingsWindow(Command command, SettingsWindow open)
{
    m_settings.insert(int(command), std::move(open));
}

void PrintCommands::run(Command command, bool currentOnly)
{
    if (m_preview) {
        // Closing first stops a generation still running into the old one.
        // Deleted later: a print command may come while its event loop runs.
        m_preview->close();
        m_preview->deleteLater();
    }
    m_preview = new PrintPreviewWindow(&m_window);
    m_preview->setPrintEnabled(true);
    if (auto it = m_settings.find(int(command)); it != m_settings.end())
        it.value()(*m_preview, currentOnly);
}

} // namespace kv
