#pragma once

#include "domain/DataModule.h"
#include "ui/DesktopCommands.h"
#include "ui/MainWindow.h"

#include <QString>
#include <memory>

namespace kvtest
{

// The desktop program as a start builds it (every command wired), on a
// generated data home, its main window shown and active: the ground of
// the journey tests.
class JourneyApp
{
public:
    // With everyFirm the company set is the whole directory (as after an
    // empty selection); otherwise it is what a first start shows.
    explicit JourneyApp(int firms = 200, bool everyFirm = true);
    // The same on a data home of the test's own (one it may damage).
    explicit JourneyApp(const QString& home, bool everyFirm = true);
    // The company data from a server (a libpq connection string), the rest
    // from home.
    JourneyApp(const QString& home, const QString& database, bool everyFirm = true);
    ~JourneyApp();

    kv::MainWindow& window() { return *m_window; }
    kv::DataModule& dm() { return m_dm; }
    kv::DesktopCommands& commands() { return *m_commands; }
    // The text of a status bar panel.
    QString status(int panel) const { return m_window->statusText(panel); }
    // The object name of the window that has the keyboard now.
    static QString focusWindowName();

private:
    kv::DataModule m_dm;
    std::unique_ptr<kv::MainWindow> m_window;
    std::unique_ptr<kv::DesktopCommands> m_commands;
};

} // namespace kvtest
