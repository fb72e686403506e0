#include "ui/ServerWaitHook.h"

#include "core/StringTable.h"
#include "ui/ServerWaitDialog.h"

#include <QApplication>

namespace kv
{

namespace
{

// Shorter waits pass with the busy cursor alone.
constexpr std::chrono::milliseconds ShowAfter{400};

} // namespace

ServerWaitHook::ServerWaitHook() = default;

ServerWaitHook::~ServerWaitHook()
{
    close();
}

bool ServerWaitHook::wait(std::chrono::milliseconds elapsed)
{
    // Until the window shows, no events at all: a repaint or timer then
    // could reach for the connection that is busy with this statement.
    if (!m_dialog && elapsed < ShowAfter)
        return false;
    if (!m_dialog) {
        QWidget* over = QApplication::activeModalWidget();
        if (!over)
            over = QApplication::activeWindow();
        m_dialog = new ServerWaitDialog(over);
        // The action's busy cursor would cover the Cancel button too.
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        m_arrow = true;
        m_dialog->show();
        m_dialog->raise();
        m_dialog->activateWindow();
    }
    QApplication::processEvents();
    return m_dialog && m_dialog->cancelAsked();
}

void ServerWaitHook::finished()
{
    close();
}

void ServerWaitHook::close()
{
    if (m_arrow)
        QApplication::restoreOverrideCursor();
    m_arrow = false;
    if (!m_dialog)
        return;
    m_dialog->hide();
    // Deleted from the event loop: the end of a wait may come from inside
    // one of the window's own events.
    m_dialog->deleteLater();
    m_dialog = nullptr;
}

QString ServerWaitHook::cancelledMessage() const
{
    return loadStr(327);
}

} // namespace kv
