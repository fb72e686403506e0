#include "tests/support/JourneyApp.h"

#include "core/Settings.h"
#include "engine/TableCursor.h"
#include "tests/support/DemoHome.h"
#include "tests/support/WindowInput.h"

#include <QApplication>
#include <QTest>
#include <stdexcept>

namespace kvtest
{

JourneyApp::JourneyApp(int firms, bool everyFirm) : JourneyApp(demoHome(firms), everyFirm) {}

JourneyApp::JourneyApp(const QString& home, bool everyFirm) : JourneyApp(home, QString(), everyFirm)
{
}

JourneyApp::JourneyApp(const QString& home, const QString& database, bool everyFirm)
{
    kv::settings() = kv::Settings();
    kv::settings().dataHome = home;
    kv::settings().database = database;
    QApplication::setQuitOnLastWindowClosed(false);
    input::emulateWindowManager();
    if (m_dm.openDatabase().status != kv::DataModule::OpenStatus::Opened)
        throw std::runtime_error("the demo home does not open");
    m_window = std::make_unique<kv::MainWindow>(&m_dm, 0);
    m_commands = std::make_unique<kv::DesktopCommands>(*m_window, m_dm);
    if (everyFirm)
        m_dm.firms()->setFilter(QString(), false);
    m_window->showList();
    m_window->setGeometry(0, 0, 1024, 768);
    m_window->show();
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        throw std::runtime_error("the main window does not become active");
}

JourneyApp::~JourneyApp()
{
    m_commands.reset();
    m_window.reset();
    kv::settings() = kv::Settings();
}

QString JourneyApp::focusWindowName()
{
    QWidget* w = input::focusWindowWidget();
    return w ? w->objectName() : QString();
}

} // namespace kvtest
