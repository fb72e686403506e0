#include "app/Startup.h"

#include "app/SingleInstance.h"
#include "app/StartupTiming.h"
#include "cli/JetImportHook.h"
#include "core/Config.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "core/UiLanguage.h"
#include "domain/DataModule.h"
#include "ui/DesktopCommands.h"
#include "ui/DesktopStart.h"
#include "ui/MainWindow.h"
#include "ui/SelectionFileDialogs.h"
#include "ui/SelectionWindow.h"
#include "ui/ServerWaitHook.h"
#include "ui/SplashWindow.h"

#include <QGuiApplication>
#include <QTextStream>

namespace kv
{

Startup::Startup(StartupOptions options) : m_options(std::move(options)) {}

int Startup::run()
{
    SingleInstance instance(m_options.instanceKey.isEmpty() ? SingleInstance::defaultKey()
                                                            : m_options.instanceKey);
    if (instance.activateRunning())
        return 0;
    instance.listen();

    UiLanguage::apply(0); // Qt's own buttons in Czech from the first message on
    DesktopStart::setProductIcon();
    auto splash = std::make_unique<SplashWindow>();
    splash->show();
    splash->repaint();
    QGuiApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    const QString ini = m_options.iniPath.isEmpty() ? iniPath() : m_options.iniPath;
    const ConfigResult config = readConfig(ini, m_options.homeOverride, m_options.databaseOverride);
    if (config.error) {
        splash.reset();
        DesktopStart::reportBadConfiguration();
        return 1;
    }
    // The language of the last run comes back (the switch is offered).
    if (configValue(config.lines, QStringLiteral("Lang")).value_or(QString()).trimmed() ==
        QLatin1String("500"))
        UiLanguage::apply(500);

    // Opening a server's directory waits for it too; the splash stays alive.
    ServerWaitHook serverWait;
    DataModule dm;
    dm.setJetImport(jetImportHook(dm));
    MainWindow window(&dm, config.mdiMod);
    window.setSplash(splash.get());
    const DataModule::OpenResult opened = dm.openDatabase();
    StartupTiming::mark("database open");
    if (opened.status != DataModule::OpenStatus::Opened) {
        splash.reset();
        if (!opened.message.isEmpty())
            DesktopStart::reportOpenFailure(opened.message,
                                            opened.status == DataModule::OpenStatus::MissingFile);
        return 1;
    }
    // A stale sort table costs only speed; the log says why sorting is slow.
    for (const QString& warning : opened.warnings)
        qWarning("%s", qUtf8Printable(warning));
    DesktopCommands commands(window, dm);
    window.showList();
    splash.reset();
    if (!m_options.selectionFile.isEmpty())
        loadSelectionFile(commands.selection(), m_options.selectionFile);

    QObject::connect(&instance, &SingleInstance::activationRequested, &window, [&window]() {
        window.activateFromOutside();
        if (qEnvironmentVariableIsSet("KVELTA_TRACE_INSTANCE"))
            QTextStream(stderr) << "kvelta: activated, minimized=" << window.isMinimized() << "\n";
    });
    window.setOnClose([&]() { writeConfig(ini, window.mdiMode()); });
    StartupTiming::watchFirstPaint(&window);
    DesktopStart::showMainWindow(window, m_options.minimized);
    return QGuiApplication::exec();
}

} // namespace kv
