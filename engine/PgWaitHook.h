#pragma once

#include <QString>
#include <chrono>

namespace kv::engine
{

// What a thread does while a PostgreSQL statement or connection attempt
// waits for the server. The engine cannot show windows; the desktop program
// installs a hook that keeps its windows alive and offers a Cancel, the
// commands install none and simply wait (Ctrl+C ends them as before).
//
// A hook is installed for the thread that creates it, for its lifetime; the
// one installed before comes back when it ends. PgConnection calls wait()
// about every 50 ms while the answer is missing, and finished() once when
// such a wait is over, answered or not. A statement started from inside
// wait() (a timer of the event loop) waits without the hook.
class PgWaitHook
{
public:
    PgWaitHook();
    virtual ~PgWaitHook();
    PgWaitHook(const PgWaitHook&) = delete;
    PgWaitHook& operator=(const PgWaitHook&) = delete;

    // elapsed: since the statement was sent. True asks to cancel it.
    virtual bool wait(std::chrono::milliseconds elapsed) = 0;
    virtual void finished() {}
    // The message of the error a cancelled statement throws.
    virtual QString cancelledMessage() const;

    // The hook of the calling thread, nullptr without one or while it runs.
    static PgWaitHook* current();

    // Marks the calling thread's hook as running for its lifetime.
    class Running
    {
    public:
        Running();
        ~Running();
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;
    };

private:
    PgWaitHook* m_previous;
};

} // namespace kv::engine
