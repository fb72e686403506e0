#pragma once

#include <QObject>

namespace kv
{

// Start-up timing for bench/startup_first_paint.sh: with the environment
// variable KVELTA_STARTUP_TIMING set, the milliseconds from the program's
// start to the data module's opening and to the first paint of the main
// window go to stderr; with the value "quit" the program ends after that
// paint. Without the variable nothing is measured or printed.
class StartupTiming : public QObject
{
    Q_OBJECT
public:
    // Starts the clock; the first thing the program does.
    static void begin();
    static bool enabled();
    // "kvelta: <what> after N ms".
    static void mark(const char* what);
    // Reports the first paint of window (the main window) once it is done.
    static void watchFirstPaint(QObject* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
    bool m_seen = false;
};

} // namespace kv
