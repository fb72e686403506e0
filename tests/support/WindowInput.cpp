#include "tests/support/WindowInput.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <gtest/gtest.h>
#include <iterator>

namespace kvtest::input
{

namespace
{

// QTest's functions for a QWindow let the event loop run after every event,
// and a journey's next step (a timer) may come due in there on a slow
// machine: it would then act before the rest of this action's input, and a
// key meant for a dialog would reach the window behind it. So the events
// take the same way as there, but the loop after each is marked, and
// Journey holds its next step while it runs (stepsHeld()). Steps still run
// inside what the program does with an event: a modal window's loop, a long
// report that lets events through.
int flushLevel = -1; // the loop level of the current flush; -1 when none

void flush()
{
    const int outer = flushLevel;
    flushLevel = QThread::currentThread()->loopLevel();
    QCoreApplication::processEvents();
    flushLevel = outer;
}

// A left click (or a double click) as QTest::mouseEvent delivers it.
void mouseClick(QWindow* window, QPoint pos, bool twice)
{
    QTest::lastMouseTimestamp += 1;
    const QPointF local(pos);
    const QPointF global = window->mapToGlobal(local);
    QPointer<QWindow> w(window);
    Qt::MouseButtons& buttons = QTestPrivate::qtestMouseButtons;
    for (int i = 0; i < (twice ? 2 : 1); ++i) {
        buttons.setFlag(Qt::LeftButton, true);
        qt_handleMouseEvent(w, local, global, buttons, Qt::LeftButton, QEvent::MouseButtonPress,
                            Qt::NoModifier, QTest::lastMouseTimestamp);
        buttons.setFlag(Qt::LeftButton, false);
        qt_handleMouseEvent(w, local, global, buttons, Qt::LeftButton, QEvent::MouseButtonRelease,
                            Qt::NoModifier, QTest::lastMouseTimestamp);
    }
    QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval; // no double click by chance
    flush();
}

void keyEvent(QWindow* window, bool press, int key, Qt::KeyboardModifiers modifiers,
              const QString& text = QString())
{
    qt_handleKeyEvent(window, press ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers, text);
    flush();
}

// A key press or release with its modifier keys around it, as
// QTest::sendKeyEvent sends them.
void sendKey(QWindow* window, bool press, Qt::Key key, const QString& text,
             Qt::KeyboardModifiers modifiers)
{
    struct Modifier {
        Qt::KeyboardModifier flag;
        Qt::Key key;
    };
    static const Modifier order[] = {{Qt::ShiftModifier, Qt::Key_Shift},
                                     {Qt::ControlModifier, Qt::Key_Control},
                                     {Qt::AltModifier, Qt::Key_Alt},
                                     {Qt::MetaModifier, Qt::Key_Meta}};
    if (press) {
        Qt::KeyboardModifiers held;
        for (const Modifier& m : order)
            if (modifiers & m.flag) {
                keyEvent(window, true, m.key, held);
                held |= m.flag;
            }
        keyEvent(window, true, key, modifiers, text);
        return;
    }
    keyEvent(window, false, key, modifiers, text);
    Qt::KeyboardModifiers held = modifiers;
    for (auto m = std::rbegin(order); m != std::rend(order); ++m)
        if (modifiers & m->flag) {
            keyEvent(window, false, m->key, held);
            held &= ~m->flag;
        }
}

void keyClick(QWindow* window, Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers)
{
    QPointer<QWindow> w(window);
    sendKey(window, true, key, text, modifiers);
    if (w)
        sendKey(window, false, key, text, modifiers);
}

QWindow* handleOf(QWidget* widget, QPoint& pos)
{
    QWidget* top = widget->window();
    pos = widget->mapTo(top, pos);
    return top->windowHandle();
}

QPoint centreOr(QWidget* widget, QPoint pos)
{
    if (pos != QPoint(-1, -1))
        return pos;
    // A check box or radio button takes clicks on its mark and text only;
    // the mark is at its left.
    if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget))
        return QPoint(qMin(8, widget->width() / 2), widget->height() / 2);
    return widget->rect().center();
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

bool frontIs(const char* objectName)
{
    QWidget* f = front();
    return f && f->objectName() == QLatin1String(objectName);
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
    mouseClick(window, pos, false);
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
    // A click, then two more at one time: the second press is the double click.
    QPointer<QWindow> w(window);
    mouseClick(window, pos, false);
    if (w)
        mouseClick(window, pos, true);
    return true;
}

bool wheel(QWidget* widget, int angleDelta, QPoint pos)
{
    if (!visible(widget, "wheel"))
        return false;
    pos = centreOr(widget, pos);
    QWindow* window = handleOf(widget, pos);
    // Queued like a wheel event from the display server, then delivered.
    QWindowSystemInterface::handleWheelEvent(
        window, QPointF(pos), window->mapToGlobal(QPointF(pos)), QPoint(), QPoint(0, angleDelta));
    flush();
    return true;
}

bool key(int key, Qt::KeyboardModifiers modifiers)
{
    QWindow* window = QGuiApplication::focusWindow();
    if (!window) {
        ADD_FAILURE() << "key: no window has the focus";
        return false;
    }
    const char ascii = QTest::keyToAscii(Qt::Key(key));
    keyClick(window, Qt::Key(key), ascii ? QString(QChar::fromLatin1(ascii)) : QString(),
             modifiers);
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
    // Ctrl+A as X11 sends it: the control character as its text.
    sendKey(window, true, Qt::Key_A, QString(QChar(1)), Qt::ControlModifier);
    sendKey(window, false, Qt::Key_A, QString(QChar(1)), Qt::ControlModifier);
    for (const QChar c : text) {
        if (c == u'\n') { // a line end is the Return key
            keyClick(window, Qt::Key_Return, QStringLiteral("\r"), Qt::NoModifier);
            continue;
        }
        // Keys by their text, so letters with diacritics arrive as typed.
        const Qt::Key k = c.isLetterOrNumber() && c.unicode() < 128 ? Qt::Key(c.toUpper().unicode())
                                                                    : Qt::Key_unknown;
        sendKey(window, true, k, QString(c), Qt::NoModifier);
        sendKey(window, false, k, QString(c), Qt::NoModifier);
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

namespace
{

class WindowManager : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Hide || !watched->isWidgetType())
            return false;
        auto w = static_cast<QWidget*>(watched);
        if (!w->isWindow() || w->windowType() == Qt::ToolTip)
            return false;
        QPointer<QWidget> parent = w->parentWidget() ? w->parentWidget()->window() : nullptr;
        QTimer::singleShot(0, this, [parent] {
            if (QGuiApplication::focusWindow() || QApplication::activePopupWidget())
                return;
            QWidget* next = QApplication::activeModalWidget();
            if (!next && parent && parent->isVisible())
                next = parent;
            if (!next)
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (qobject_cast<QMainWindow*>(top) && top->isVisible())
                        next = top;
            if (next)
                next->activateWindow();
        });
        return false;
    }
};

} // namespace

void emulateWindowManager()
{
    static WindowManager* manager = nullptr;
    if (!manager) {
        manager = new WindowManager(qApp);
        qApp->installEventFilter(manager);
    }
}

bool stepsHeld()
{
    return flushLevel >= 0 && QThread::currentThread()->loopLevel() == flushLevel;
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
