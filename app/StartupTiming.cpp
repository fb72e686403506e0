#include "app/StartupTiming.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QThread>
#include <QTimer>
#include <cstdio>

namespace kv
{

namespace
{

QElapsedTimer& clock()
{
    static QElapsedTimer timer;
    return timer;
}

// quit() is lost while start-up still processes events on its own, before
// the event loop runs; it waits for the loop.
void quitInEventLoop()
{
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0); // quit() would ask the windows, and they ask the user
    else
        QTimer::singleShot(1, QCoreApplication::instance(), &quitInEventLoop);
}

} // namespace

void StartupTiming::begin()
{
    if (enabled())
        clock().start();
}

bool StartupTiming::enabled()
{
    static const bool on = qEnvironmentVariableIsSet("KVELTA_STARTUP_TIMING");
    return on;
}

void StartupTiming::mark(const char* what)
{
    if (enabled() && clock().isValid())
        std::fprintf(stderr, "kvelta: %s after %lld ms\n", what,
                     static_cast<long long>(clock().elapsed()));
}

void StartupTiming::watchFirstPaint(QObject* window)
{
    if (enabled())
        window->installEventFilter(new StartupTiming(window));
}

bool StartupTiming::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::Paint && !m_seen) {
        m_seen = true;
        // Queued: runs once the whole window (children included) is drawn.
        QTimer::singleShot(0, this, [] {
            mark("first paint of the main window");
            if (qEnvironmentVariable("KVELTA_STARTUP_TIMING") == QLatin1String("quit"))
                quitInEventLoop();
        });
    }
    return false;
}

} // namespace kv
