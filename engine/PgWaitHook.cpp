#include "engine/PgWaitHook.h"

namespace kv::engine
{

namespace
{

thread_local PgWaitHook* installed = nullptr;
thread_local int running = 0;

} // namespace

PgWaitHook::PgWaitHook() : m_previous(installed)
{
    installed = this;
}

PgWaitHook::~PgWaitHook()
{
    installed = m_previous;
}

QString PgWaitHook::cancelledMessage() const
{
    return QStringLiteral("the statement was cancelled by the user");
}

PgWaitHook* PgWaitHook::current()
{
    return running > 0 ? nullptr : installed;
}

PgWaitHook::Running::Running()
{
    ++running;
}

PgWaitHook::Running::~Running()
{
    --running;
}

} // namespace kv::engine
