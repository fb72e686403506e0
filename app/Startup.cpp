#include "app/Startup.h"

#include "app/DesktopCommands.h"
#include "app/SingleInstance.h"
#include "app/TFMain.h"
#include "app/TFSplash.h"
#include "app/ToolIcons.h"
#include "app/core/Config.h"
#include "app/core/Global.h"
#include "app/core/StringTable.h"
#include "app/core/UiLanguage.h"
#include "data/TDM.h"
#include "selection/TFVyber.h"
#include "selection/VyberFiles.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
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
    QApplication::setWindowIcon(ToolIcons::product());
    auto splash = std::make_unique<TFSplash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    const QString ini = m_options.iniPath.isEmpty() ? iniPath() : m_options.iniPath;
    const ConfigResult config = readConfig(ini, m_options.homeOverride);
    if (config.error) {
        splash.reset();
        QMessageBox box(QMessageBox::Warning, LoadStr(17), LoadStr(15), QMessageBox::Ok);
        box.exec();
        return 1;
    }
    // The language of the last run comes back (the switch is offered).
    if (configValue(config.lines, QStringLiteral("Lang")).value_or(QString()).trimmed() ==
        QLatin1String("500"))
        UiLanguage::apply(500);

    TDM dm;
    TFMain window(&dm, config.mdiMod);
    window.setSplash(splash.get());
    const TDM::OpenResult opened = dm.OpenDatabase();
    if (opened.status != TDM::OpenStatus::Opened) {
        splash.reset();
        if (!opened.message.isEmpty()) {
            const auto icon = opened.status == TDM::OpenStatus::MissingFile ? QMessageBox::NoIcon
                                                                            : QMessageBox::Critical;
            QMessageBox box(icon, LoadStr(17), opened.message, QMessageBox::Ok);
            box.exec();
        }
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
    window.setOnClose([&]() { writeConfig(ini, window.MdiMod()); });
    if (m_options.minimized)
        window.showMinimized();
    else {
        // Without a window manager (a bare X server) maximising does nothing.
        if (QScreen* screen = QApplication::primaryScreen())
            window.setGeometry(screen->availableGeometry());
        window.showMaximized();
    }
    return QApplication::exec();
}

} // namespace kv
