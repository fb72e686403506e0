#include "ui/FilteredLineEdit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>

namespace kv
{

FilteredLineEdit::FilteredLineEdit(QWidget* parent) : QLineEdit(parent)
{
    // Dropped text would bypass the filter.
    setAcceptDrops(false);
}

void FilteredLineEdit::setEnabledKey(const QString& keys)
{
    m_enabledKey = keys;
    m_allowed.reset();
    for (QChar c : keys) {
        if (c.unicode() < 128)
            m_allowed.set(c.unicode());
    }
}

bool FilteredLineEdit::isAllowed(QChar c) const
{
    return c.unicode() < 128 && m_allowed.test(c.unicode());
}

QString FilteredLineEdit::filtered(const QString& text) const
{
    QString out;
    for (QChar c : text) {
        if (isAllowed(c))
            out += c;
    }
    return out;
}

void FilteredLineEdit::pasteFiltered()
{
    if (isReadOnly())
        return;
    const QString text = filtered(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
    if (!text.isEmpty())
        insert(text);
}

void FilteredLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteFiltered();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Backspace) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Only keys that would put text into the edit are filtered; navigation,
    // Delete and shortcuts such as copy keep working.
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
        for (QChar c : text) {
            if (!isAllowed(c)) {
                event->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

void FilteredLineEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, &FilteredLineEdit::pasteFiltered);
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void FilteredLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // Middle-click pastes the selection buffer on X11; filter it too.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        if (!isReadOnly()) {
            const QString text =
                filtered(QGuiApplication::clipboard()->text(QClipboard::Selection));
            if (!text.isEmpty())
                insert(text);
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void FilteredLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = filtered(event->commitString());
    if (commit == event->commitString()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent copy(event->preeditString(), event->attributes());
    copy.setCommitString(commit, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&copy);
}

} // namespace kv
