#include "tests/support/WindowInput.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace kvtest::input
{

namespace
{

QWindow* handleOf(QWidget* widget, QPoint& pos)
{
    QWidget* top = widget->window();
    pos = widget->mapTo(top, pos);
    return top->windowHandle();
}

QPoint centreOr(QWidget* widget, QPoint pos)
{
    return pos == QPoint(-1, -1) ? widget->rect().center() : pos;
}

bool visible(QWidget* widget, const char* what)
{
    if (!widget) {
        ADD_FAILURE() << what << ": no such widget";
        return false;
    }
    if (!widget->isVisible() || !widget->window()->windowHandle()) {
        ADD_FAILURE() << what << ": " << widget->objectName().toStdString() << " is not visible";
        return false;
    }
    return true;
}

} // namespace

QWidget* front()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

QWidget* findIn(QWidget* window, const QString& objectName)
{
    if (!window || !window->isVisible())
        return nullptr;
    if (window->objectName() == objectName)
        return window;
    for (QWidget* w : window->findChildren<QWidget*>(objectName))
        if (w->isVisible())
            return w;
    return nullptr;
}

QWidget* find(const QString& objectName)
{
    if (QWidget* w = findIn(front(), objectName))
        return w;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (QWidget* w = findIn(top, objectName))
            return w;
    return nullptr;
}

bool click(QWidget* widget, QPoint pos)
{
    if (!visible(widget, "click"))
        return false;
    pos = centreOr(widget, pos);
    QWindow* window = handleOf(widget, pos);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, pos);
    return true;
}

bool click(const QString& objectName)
{
    QWidget* w = find(objectName);
    if (!w)
        ADD_FAILURE() << "click: no visible widget " << objectName.toStdString();
    return w && click(w);
}

bool doubleClick(QWidget* widget, QPoint pos)
{
    if (!visible(widget, "double click"))
        return false;
    pos = centreOr(widget, pos);
    QWindow* window = handleOf(widget, pos);
    // A press and release, then the second press as a double click.
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, pos);
    return true;
}

bool key(int key, Qt::KeyboardModifiers modifiers)
{
    QWindow* window = QGuiApplication::focusWindow();
    if (!window) {
        ADD_FAILURE() << "key: no window has the focus";
        return false;
    }
    QTest::keyClick(window, Qt::Key(key), modifiers);
    return true;
}

bool type(QWidget* widget, const QString& text)
{
    if (!click(widget))
        return false;
    QWindow* window = QGuiApplication::focusWindow();
    if (!window) {
        ADD_FAILURE() << "type: no window has the focus";
        return false;
    }
    QTest::keyClick(window, Qt::Key_A, Qt::ControlModifier);
    for (const QChar c : text) {
        // Keys by their text, so letters with diacritics arrive as typed.
        const Qt::Key k = c.isLetterOrNumber() && c.unicode() < 128 ? Qt::Key(c.toUpper().unicode())
                                                                   : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, window, k, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, window, k, QString(c), Qt::NoModifier);
    }
    return true;
}

bool clickMenuItem(QAction* action)
{
    QMenu* menu = nullptr;
    for (QObject* o : action->associatedObjects())
        if (auto m = qobject_cast<QMenu*>(o); m && m->isVisible())
            menu = m;
    if (!menu) {
        ADD_FAILURE() << "menu item " << action->objectName().toStdString()
                      << ": its menu is not open";
        return false;
    }
    return click(menu, menu->actionGeometry(action).center());
}

bool chooseMenu(QMainWindow* window, const QStringList& path)
{
    QMenuBar* bar = window->menuBar();
    for (int i = 0; i < path.size(); ++i) {
        QAction* action = nullptr;
        for (QAction* a : window->findChildren<QAction*>(path[i]))
            action = a;
        if (!action) {
            ADD_FAILURE() << "no menu item " << path[i].toStdString();
            return false;
        }
        if (i == 0) {
            if (!click(bar, bar->actionGeometry(action).center()))
                return false;
        } else if (!clickMenuItem(action)) {
            return false;
        }
    }
    return true;
}

QWidget* focusWindowWidget()
{
    QWindow* window = QGuiApplication::focusWindow();
    if (!window)
        return nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->windowHandle() == window)
            return top;
    return nullptr;
}

} // namespace kvtest::input
