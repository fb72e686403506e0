// Text export on a large demo data home: 5,000 firms (the export limit) with
// every item ticked, the contact person costing one statement per firm.
// Needs KV_BENCH_HOME (kvelta make-demo DIR --firms 1000000); KV_BENCH_DB
// measures the company data on a server instead (bench/BenchData.h).
#include "BenchData.h"
#include "core/Settings.h"
#include "domain/DataModule.h"
#include "domain/Export.h"
#include "engine/TableCursor.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

void ExportFiveThousandEveryItem(benchmark::State& state)
{
    QString error;
    if (!kv::bench::useData(&error)) {
        state.SkipWithError(error.toUtf8().constData());
        return;
    }
    kv::DataModule dm;
    if (dm.openDatabase().status != kv::DataModule::OpenStatus::Opened) {
        state.SkipWithError("the database did not open");
        return;
    }
    // The 5,000 lowest company numbers as the set, in the list's order.
    kv::engine::TableCursor byNumber(dm.db(), QStringLiteral("firma"));
    byNumber.setSort(QStringLiteral("peno"));
    byNumber.open();
    const int last = byNumber.fieldAt(kv::TextExport::Limit, QStringLiteral("peno")).toInt();
    byNumber.close();
    dm.firms()->setFilter(QStringLiteral("peno<=") + QString::number(last), true);
    if (dm.firms()->recordCount() != kv::TextExport::Limit) {
        state.SkipWithError("company numbers are not unique");
        return;
    }

    kv::ExportChoice choice;
    choice.items.fill(true);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("export.txt"));
    for (auto _ : state) {
        const auto r = kv::TextExport::run(dm, choice, out);
        if (r.status != kv::TextExport::Status::Written) {
            state.SkipWithError("the export failed");
            return;
        }
        benchmark::DoNotOptimize(r.lines);
    }
    state.SetItemsProcessed(state.iterations() * kv::TextExport::Limit);
}
BENCHMARK(ExportFiveThousandEveryItem)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
