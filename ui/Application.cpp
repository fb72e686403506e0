#include "ui/Application.h"

#include "core/StringTable.h"

#include <QMessageBox>
#include <exception>

namespace kv
{

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Kvelta 2001"));
    setOrganizationName(QStringLiteral("Lumora"));
    setApplicationVersion(QStringLiteral(KV_VERSION));
    // Lets the desktop match the windows to the installed entry and its icon.
    setDesktopFileName(QStringLiteral("cz.lumora.kvelta"));
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    return runGuarded([&]() { return QApplication::notify(receiver, event); });
}

bool Application::runGuarded(const std::function<bool()>& deliver)
{
    try {
        return deliver();
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    } catch (...) {
        showError(QStringLiteral("Unknown error"));
    }
    return false;
}

void Application::showError(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, loadStr(17), message, QMessageBox::Ok);
    box.exec();
}

} // namespace kv
