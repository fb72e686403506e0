// The data module on a large demo data home: from OpenDatabase to the first
// firm's list line, with every optional cursor open, and the whole company
// table as the set. Needs KV_BENCH_HOME (kvelta make-demo DIR --firms 1000000).
#include "core/Settings.h"
#include "domain/DataModule.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace
{

bool haveHome(benchmark::State& state)
{
    const QByteArray home = qgetenv("KV_BENCH_HOME");
    if (home.isEmpty()) {
        state.SkipWithError("KV_BENCH_HOME is not set");
        return false;
    }
    kv::settings().dataHome = QString::fromLocal8Bit(home);
    return true;
}

void OpenDatabaseToFirstFirm(benchmark::State& state)
{
    if (!haveHome(state))
        return;
    for (auto _ : state) {
        kv::DataModule dm;
        if (dm.openDatabase().status != kv::DataModule::OpenStatus::Opened) {
            state.SkipWithError("the database did not open");
            return;
        }
        benchmark::DoNotOptimize(dm.firms()->text("Prosez"));
    }
}
BENCHMARK(OpenDatabaseToFirstFirm)->Unit(benchmark::kMillisecond);

void WholeTableAsTheSet(benchmark::State& state)
{
    if (!haveHome(state))
        return;
    kv::DataModule dm;
    dm.openDatabase();
    for (auto _ : state) {
        dm.firms()->setFilter(QString(), false);
        benchmark::DoNotOptimize(dm.firms()->recordCount());
        dm.firms()->setFilter(QString::fromLatin1(kv::DataModule::InitialFilter), true);
    }
}
BENCHMARK(WholeTableAsTheSet)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
