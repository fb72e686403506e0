#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

class QAction;
class QMainWindow;
class QWidget;
class QWindow;

namespace kvtest
{

// Input as the window system delivers it: mouse and keyboard events go to a
// QWindow through QWindowSystemInterface, so a window blocked by a modal one,
// a hidden widget or a lost focus swallows them as it would for a user.
// Every call reports a failure when the target cannot be seen.
namespace input
{

// The window in front: the active modal widget, else the active window.
QWidget* front();
// Whether the window in front has that object name.
bool frontIs(const char* objectName);
// The visible widget of that object name in the window in front, else in
// any visible top-level window; nullptr when none is visible.
QWidget* find(const QString& objectName);
// The visible widget of that name below window.
QWidget* findIn(QWidget* window, const QString& objectName);

// Clicks the widget (at pos in its own coordinates, its centre by default)
// through its top-level window. False when the widget is not visible.
bool click(QWidget* widget, QPoint pos = QPoint(-1, -1));
bool click(const QString& objectName);
bool doubleClick(QWidget* widget, QPoint pos = QPoint(-1, -1));

// Turns the mouse wheel over the widget (its centre by default): angleDelta
// in eighths of a degree, 120 a notch, positive away from the user (up).
bool wheel(QWidget* widget, int angleDelta, QPoint pos = QPoint(-1, -1));

// A key to the window that has the keyboard focus.
bool key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Clicks into the widget, selects its text with Ctrl+A and types text.
bool type(QWidget* widget, const QString& text);

// Opens a menu of the main window by clicking its menu bar item and then
// each item of the path (object names of the actions).
bool chooseMenu(QMainWindow* window, const QStringList& path);
// Clicks an item of a menu that is open now.
bool clickMenuItem(QAction* action);

// True while an input function lets the event loop run between its events:
// a journey's next step must wait until the whole action has been delivered
// (a step may still run in a modal window's loop the action opened).
bool stepsHeld();

// Which window takes the keyboard now (the focus window's widget).
QWidget* focusWindowWidget();

// The offscreen platform has no window manager: when the active window is
// hidden nothing gets the keyboard. This does what a window manager does:
// the modal window, else the hidden window's parent, else the first visible
// main window becomes active. Installed once per process.
void emulateWindowManager();

} // namespace input
} // namespace kvtest
