#include "demo/DemoTiming.h"

#include <QElapsedTimer>
#include <cstdio>
#include <sys/resource.h>

namespace kv
{

namespace
{

double cpuSeconds(const rusage& u)
{
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

void DemoTiming::mark(const char* phase)
{
    static const bool enabled = qEnvironmentVariableIsSet("KVELTA_DEMO_TIMING");
    if (!enabled)
        return;
    static QElapsedTimer wall;
    static double lastCpu = 0;
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const double cpu = cpuSeconds(u);
    if (!wall.isValid()) {
        wall.start();
        lastCpu = cpu;
        return;
    }
    std::fprintf(stderr, "make-demo %-28s wall %7.2f s  cpu %7.2f s  peak rss %6ld MB\n", phase,
                 double(wall.restart()) / 1000.0, cpu - lastCpu, u.ru_maxrss / 1024);
    lastCpu = cpu;
}

} // namespace kv
