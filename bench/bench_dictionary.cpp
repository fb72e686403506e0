// The selection window's incremental search: typing a prefix into the
// dictionary box filters the dictionary cursor ("txt like 'Sta*'") and the
// list draws its first screen. Measured per keystroke as the filter plus
// the texts of the first 40 lines read through the list's model. Needs a
// data home made by "kvelta make-demo DIR --firms 1000000" in KV_BENCH_HOME;
// without it every benchmark is skipped; KV_BENCH_DB measures the
// dictionaries on a server instead (bench/BenchData.h). Target: under 100 ms.
#include "BenchData.h"
#include "core/Error.h"
#include "domain/DictionaryModel.h"
#include "engine/Database.h"
#include "engine/TableCursor.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <algorithm>
#include <memory>

using namespace kv;

namespace
{

constexpr int FirstScreen = 40;

struct Home {
    std::unique_ptr<engine::Database> db;
    QString error;
};

Home& home()
{
    static Home h = [] {
        Home out;
        if (!bench::useData(&out.error))
            return out;
        try {
            out.db = bench::openDatabase();
        } catch (const Error& e) {
            if (!e.is(Error::Kind::Engine))
                throw;
            out.error = e.message();
        }
        return out;
    }();
    return h;
}

void prefixSearch(benchmark::State& state, const char* table)
{
    Home& h = home();
    if (!h.db) {
        state.SkipWithError(h.error.toUtf8().constData());
        return;
    }
    // As the data module sets the dictionary up, and as row activation shows
    // it: unfiltered, opened, in the list's model.
    engine::TableCursor cursor(*h.db, QLatin1String(table));
    cursor.setSort(QStringLiteral("txt"));
    cursor.open();
    DictionaryModel model;
    model.setCursor(&cursor, QStringLiteral("txt"));
    const QString filter = QStringLiteral("txt like 'Sta*'");
    int matched = 0;
    for (auto _ : state) {
        // Each round starts from the unfiltered dictionary, as after the
        // first keystroke in a freshly activated row.
        state.PauseTiming();
        model.beginChange();
        cursor.setFiltered(false);
        model.endChange();
        state.ResumeTiming();

        model.beginChange();
        cursor.setFilter(filter, true);
        model.endChange();
        const int lines = std::min(FirstScreen, model.rowCount());
        for (int r = 0; r < lines; ++r)
            benchmark::DoNotOptimize(model.data(model.index(r), Qt::DisplayRole));
        matched = model.entryCount();
    }
    state.counters["entries"] = matched;
}

void SlnazevSta(benchmark::State& state)
{
    prefixSearch(state, "slnazev");
}
void SluliceSta(benchmark::State& state)
{
    prefixSearch(state, "slulice");
}

} // namespace

BENCHMARK(SlnazevSta)->Unit(benchmark::kMillisecond);
BENCHMARK(SluliceSta)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
