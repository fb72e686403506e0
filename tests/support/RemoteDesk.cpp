#include "tests/support/RemoteDesk.h"

#include "tests/support/DeskProtocol.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/WindowInput.h"
#include "ui/ProfileWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSocketNotifier>
#include <QTableView>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <unistd.h>
#include <utility>

namespace kvtest
{

namespace in = kvtest::input;

namespace
{

QString frontName()
{
    QWidget* f = in::front();
    return f ? f->objectName() : QString();
}

// What a control shows the user.
std::optional<QString> shownText(QWidget* w)
{
    if (auto box = qobject_cast<QMessageBox*>(w))
        return box->informativeText().isEmpty() ? box->text()
                                                : box->text() + u'\n' + box->informativeText();
    if (auto label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto memo = qobject_cast<QPlainTextEdit*>(w))
        return memo->toPlainText();
    if (auto button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    return std::nullopt;
}

std::optional<int> keyNamed(const QString& name)
{
    if (name == QLatin1String("Return"))
        return Qt::Key_Return;
    if (name == QLatin1String("Escape"))
        return Qt::Key_Escape;
    if (name == QLatin1String("Tab"))
        return Qt::Key_Tab;
    return std::nullopt;
}

} // namespace

RemoteDesk::RemoteDesk(JourneyApp& app) : m_app(app)
{
    m_input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_input, &QSocketNotifier::activated, this, [this] { readInput(); });
}

RemoteDesk::~RemoteDesk() = default;

int RemoteDesk::serve()
{
    // exit(), not quit(): a GUI application's quit() first closes every
    // window, and the main window asks before it closes.
    m_app.window().setOnClose(
        [] { QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); }); });
    write(true, QStringLiteral("ready"));
    return QApplication::exec();
}

void RemoteDesk::readInput()
{
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (n <= 0) { // the test closed the line or has gone: end without asking
        m_input->setEnabled(false);
        QCoreApplication::exit(0);
        return;
    }
    m_pending.append(buffer, n);
    for (qsizetype end; (end = m_pending.indexOf('\n')) >= 0;) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        // Served from the event loop, in order, also inside a modal
        // window's loop that an earlier action opened.
        QMetaObject::invokeMethod(
            this, [this, line] { serveLine(line); }, Qt::QueuedConnection);
    }
}

void RemoteDesk::serveLine(const QByteArray& line)
{
    // An action still delivering its input lets the event loop run between
    // its keys; the next command waits until it is done (it is still served
    // inside a modal window the action opened).
    if (in::stepsHeld()) {
        QTimer::singleShot(5, this, [this, line] { serveLine(line); });
        return;
    }
    if (!m_failed.isEmpty()) { // an action delivered after its answer failed
        write(false, std::exchange(m_failed, QString()));
        return;
    }
    const Answer a = answer(desk::fields(line));
    write(a.ok, a.value);
    if (a.ok && a.action)
        QMetaObject::invokeMethod(this, a.action, Qt::QueuedConnection);
}

void RemoteDesk::write(bool ok, const QString& value)
{
    const QByteArray bytes = desk::line({ok ? QStringLiteral("=") : QStringLiteral("!"), value});
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    fflush(stdout);
}

RemoteDesk::Answer RemoteDesk::act(const QString& objectName, std::function<bool(QWidget*)> action)
{
    QPointer<QWidget> target = in::find(objectName);
    if (!target)
        return {
            false,
            QStringLiteral("no visible control %1 (in front: %2)").arg(objectName, frontName())};
    return {true, QString(), [this, target, action, objectName] {
                if (!target || !target->isVisible() || !action(target))
                    m_failed = QStringLiteral("%1 could not be used").arg(objectName);
            }};
}

RemoteDesk::Answer RemoteDesk::answer(const QStringList& c)
{
    const QString verb = c.value(0);
    const auto wrongArguments = [&] {
        return Answer{false, QStringLiteral("wrong arguments for %1").arg(verb)};
    };
    if (verb == QLatin1String("front"))
        return {true, frontName()};
    if (verb == QLatin1String("focus")) {
        QWidget* w = in::focusWindowWidget();
        return {true, w ? w->objectName() : QString()};
    }
    if (verb == QLatin1String("click"))
        return c.size() == 2 ? act(c[1], [](QWidget* w) { return in::click(w); })
                             : wrongArguments();
    if (verb == QLatin1String("type")) {
        if (c.size() != 3)
            return wrongArguments();
        const QString text = c[2];
        return act(c[1], [text](QWidget* w) { return in::type(w, text); });
    }
    if (verb == QLatin1String("key")) {
        const std::optional<int> key = keyNamed(c.value(1));
        if (c.size() != 2 || !key)
            return wrongArguments();
        return {true, QString(), [key] { in::key(*key); }};
    }
    if (verb == QLatin1String("menu")) {
        if (c.size() < 2)
            return wrongArguments();
        if (!m_app.window().findChild<QAction*>(c[1]))
            return {false, QStringLiteral("no menu item %1").arg(c[1])};
        const QStringList path = c.mid(1);
        return {true, QString(), [this, path] { in::chooseMenu(&m_app.window(), path); }};
    }
    if (verb == QLatin1String("box")) {
        QMessageBox* box = boxInFront();
        if (!box)
            return {false,
                    QStringLiteral("no message box in front (in front: %1)").arg(frontName())};
        return {true, *shownText(box)};
    }
    if (verb == QLatin1String("answer")) {
        QMessageBox* box = boxInFront();
        const QMap<QString, QMessageBox::StandardButton> buttons = {
            {QStringLiteral("Yes"), QMessageBox::Yes},
            {QStringLiteral("No"), QMessageBox::No},
            {QStringLiteral("Ok"), QMessageBox::Ok}};
        if (!box)
            return {false,
                    QStringLiteral("no message box in front (in front: %1)").arg(frontName())};
        QPointer<QAbstractButton> button =
            box->button(buttons.value(c.value(1), QMessageBox::NoButton));
        if (!button)
            return {false, QStringLiteral("the box has no button %1").arg(c.value(1))};
        return {true, QString(), [button] {
                    if (button)
                        in::click(button);
                }};
    }
    auto grid = qobject_cast<QTableView*>(in::findIn(&m_app.window(), QStringLiteral("Grid")));
    if (verb == QLatin1String("row")) {
        if (c.size() != 2)
            return wrongArguments();
        if (!grid)
            return {false, QStringLiteral("the list is not shown")};
        const int first = qMax(0, grid->rowAt(0));
        const int last = grid->rowAt(grid->viewport()->height() - 1);
        for (int r = first; r <= (last < 0 ? grid->model()->rowCount() - 1 : last); ++r) {
            const QModelIndex index = grid->model()->index(r, 0);
            if (index.data().toString() != c[1])
                continue;
            const QPoint at = grid->visualRect(index).center();
            QPointer<QWidget> viewport = grid->viewport();
            return {true, QString(), [viewport, at] {
                        if (viewport)
                            in::click(viewport, at);
                    }};
        }
        return {false, QStringLiteral("no row shows %1").arg(c[1])};
    }
    if (verb == QLatin1String("firm")) {
        if (!grid)
            return {false, QStringLiteral("the list is not shown")};
        return {true, grid->currentIndex().data().toString()};
    }
    if (verb == QLatin1String("notes")) {
        auto profile = m_app.window().findChild<kv::ProfileWindow*>(QStringLiteral("FProfil"));
        if (!profile || !profile->isVisible())
            return {false, QStringLiteral("the profile is not shown")};
        return {true, profile->panel(kv::PanPozn)->isVisible() ? profile->noteMemo()->toPlainText()
                                                               : QString()};
    }
    if (verb == QLatin1String("text")) {
        QWidget* w = c.size() == 2 ? in::find(c[1]) : nullptr;
        if (!w)
            return {false, QStringLiteral("no visible control %1 (in front: %2)")
                               .arg(c.value(1), frontName())};
        const std::optional<QString> text = shownText(w);
        if (!text)
            return {false, QStringLiteral("%1 shows no text").arg(c[1])};
        return {true, *text};
    }
    return {false, QStringLiteral("unknown command %1").arg(verb)};
}

} // namespace kvtest
