#include "ui/DesktopStart.h"

#include "core/StringTable.h"
#include "ui/MainWindow.h"
#include "ui/ToolIcons.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

namespace kv::DesktopStart
{

void setProductIcon()
{
    QApplication::setWindowIcon(ToolIcons::product());
}

void reportBadConfiguration()
{
    QMessageBox box(QMessageBox::Warning, loadStr(17), loadStr(15), QMessageBox::Ok);
    box.exec();
}

void reportOpenFailure(const QString& message, bool missingFile)
{
    QMessageBox box(missingFile ? QMessageBox::NoIcon : QMessageBox::Critical, loadStr(17), message,
                    QMessageBox::Ok);
    box.exec();
}

void showMainWindow(MainWindow& window, bool minimized)
{
    if (minimized) {
        window.showMinimized();
        return;
    }
    // Without a window manager (a bare X server) maximising does nothing.
    if (QScreen* screen = QApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
}

} // namespace kv::DesktopStart
