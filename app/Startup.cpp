#include "app/Startup.h"

#include "app/SingleInstance.h"
#include "app/core/Config.h"
#include "app/core/Global.h"
#include "app/core/StringTable.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QProcessEnvironment>
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

    const QString ini = m_options.iniPath.isEmpty() ? iniPath() : m_options.iniPath;
    const ConfigResult config = readConfig(ini, m_options.homeOverride);
    if (config.error) {
        QMessageBox box(QMessageBox::Warning, LoadStr(17), LoadStr(15), QMessageBox::Ok);
        box.exec();
        return 1;
    }

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Kvelta 2001"));
    window.setMinimumSize(500, 400);
    window.setCentralWidget(new QLabel(global().dataHome));
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, [&window]() {
        if (window.isMinimized())
            window.showNormal();
        window.raise();
        window.activateWindow();
        if (qEnvironmentVariableIsSet("KVELTA_TRACE_INSTANCE"))
            QTextStream(stderr) << "kvelta: activated, minimized=" << window.isMinimized() << "\n";
    });
    if (m_options.minimized)
        window.showMinimized();
    else
        window.showMaximized();
    const int code = QApplication::exec();
    writeConfig(ini, config.mdiMod);
    return code;
}

} // namespace kv
