// Engine layer on a large company set. Needs a data home with a big database
// (kvelta make-demo with a million firms) in the environment variable
// KV_BENCH_HOME; without it every benchmark is skipped. Each engine figure
// has a "Floor" twin: the bare SQLite statement doing the same work.
#include "core/Error.h"
#include "engine/Database.h"
#include "engine/Statement.h"
#include "engine/TableCursor.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QRandomGenerator>
#include <memory>

using namespace kv::engine;

namespace
{

struct Home {
    std::unique_ptr<Database> db;
    QString error;
    QString list100k; // "(peno in (...))" with 100,000 company numbers
    QString numbers100k;
};

Home& home()
{
    static Home h = [] {
        Home out;
        const QString path = qEnvironmentVariable("KV_BENCH_HOME");
        if (path.isEmpty()) {
            out.error = QStringLiteral("KV_BENCH_HOME is not set (a data home with a large demo "
                                       "database, made by kvelta make-demo)");
            return out;
        }
        try {
            out.db =
                std::make_unique<Database>(QDir(path).filePath(QStringLiteral("Dta/KV2001.db")));
            Statement st(*out.db, QStringLiteral("SELECT peno FROM firma ORDER BY peno"));
            QStringList numbers;
            for (int i = 0; st.step(); ++i)
                if (i % 10 == 0 && numbers.size() < 100000)
                    numbers << QString::number(st.int64(0));
            out.numbers100k = numbers.join(u',');
            out.list100k = QStringLiteral("(peno in (") + out.numbers100k + QStringLiteral("))");
        } catch (const kv::Error& e) {
            if (!e.is(kv::Error::Kind::Engine))
                throw;
            out.error = e.message();
            out.db.reset();
        }
        return out;
    }();
    return h;
}

bool ready(benchmark::State& state)
{
    if (home().db)
        return true;
    state.SkipWithError(home().error.toUtf8().constData());
    return false;
}

int count(Statement& st)
{
    int n = 0;
    while (st.step())
        ++n;
    return n;
}

void OpenFirstFirm(benchmark::State& state)
{
    if (!ready(state))
        return;
    for (auto _ : state) {
        TableCursor c(*home().db, QStringLiteral("firma"));
        c.setSort(QStringLiteral("nazev"));
        c.setFilter(QStringLiteral("peno in(200219)"), true);
        c.open();
        benchmark::DoNotOptimize(c.text(QStringLiteral("nazev")));
    }
}

void OpenFirstFirmFloor(benchmark::State& state)
{
    if (!ready(state))
        return;
    for (auto _ : state) {
        Statement st(*home().db, QStringLiteral("SELECT * FROM firma WHERE peno IN (200219)"));
        benchmark::DoNotOptimize(st.step());
    }
}

void OpenAllFirmsByName(benchmark::State& state)
{
    if (!ready(state))
        return;
    for (auto _ : state) {
        TableCursor c(*home().db, QStringLiteral("firma"));
        c.setSort(QStringLiteral("nazev"));
        c.open();
        state.counters["rows"] = c.recordCount();
    }
}

void Filter100k(benchmark::State& state)
{
    if (!ready(state))
        return;
    TableCursor c(*home().db, QStringLiteral("firma"));
    c.setSort(QStringLiteral("nazev"));
    c.setFilter(QStringLiteral("peno in(200219)"), true);
    c.open();
    for (auto _ : state) {
        c.setFilter(home().list100k, true);
        state.counters["rows"] = c.recordCount();
    }
}

void Filter100kFloor(benchmark::State& state)
{
    if (!ready(state))
        return;
    for (auto _ : state) {
        Statement st(*home().db, QStringLiteral("SELECT rowid FROM firma WHERE peno IN (") +
                                     home().numbers100k + QStringLiteral(")"));
        state.counters["rows"] = count(st);
    }
}

void SortMisto100k(benchmark::State& state)
{
    if (!ready(state))
        return;
    TableCursor c(*home().db, QStringLiteral("firma"));
    c.setSort(QStringLiteral("nazev"));
    c.setFilter(home().list100k, true);
    c.open();
    for (auto _ : state) {
        c.setSort(QStringLiteral("misto"));
        state.PauseTiming();
        c.setSort(QStringLiteral("nazev"));
        state.ResumeTiming();
    }
}

void SortMisto100kFloor(benchmark::State& state)
{
    if (!ready(state))
        return;
    for (auto _ : state) {
        Statement st(*home().db,
                     QStringLiteral("SELECT f.rowid FROM firma f JOIN kv_rank_firma r ON r.rid = "
                                    "f.rowid WHERE f.peno IN (") +
                         home().numbers100k + QStringLiteral(") ORDER BY r.misto, r.rid"));
        state.counters["rows"] = count(st);
    }
}

void Read50AtRandom(benchmark::State& state)
{
    if (!ready(state))
        return;
    TableCursor c(*home().db, QStringLiteral("firma"));
    c.setSort(QStringLiteral("nazev"));
    c.open();
    QRandomGenerator rng(7);
    for (auto _ : state) {
        const int p = 1 + int(rng.bounded(qMax(1, c.recordCount() - 50)));
        for (int i = 0; i < 50; ++i)
            benchmark::DoNotOptimize(c.rowAt(p + i).text(QStringLiteral("nazev")));
    }
}

void Read50AtRandomFloor(benchmark::State& state)
{
    if (!ready(state))
        return;
    Statement st(*home().db, QStringLiteral("SELECT * FROM firma WHERE rowid = ?"));
    Statement max(*home().db, QStringLiteral("SELECT max(rowid) FROM firma"));
    max.step();
    const qint64 top = max.int64(0);
    QRandomGenerator rng(7);
    for (auto _ : state) {
        for (int i = 0; i < 50; ++i) {
            st.reset();
            st.bind(1, qint64(1 + rng.bounded(top)));
            if (st.step())
                benchmark::DoNotOptimize(st.text(2));
        }
    }
}

void DictionaryPrefix(benchmark::State& state)
{
    if (!ready(state))
        return;
    TableCursor words(*home().db, QStringLiteral("slnazev"));
    words.setSort(QStringLiteral("txt"));
    words.open();
    for (auto _ : state) {
        words.setFilter(QStringLiteral("txt like 'Sta*'"), true);
        state.counters["rows"] = words.recordCount();
    }
}

void DictionaryPrefixFloor(benchmark::State& state)
{
    if (!ready(state))
        return;
    for (auto _ : state) {
        Statement st(
            *home().db,
            QStringLiteral("SELECT rowid FROM slnazev WHERE txt LIKE 'Sta%' ORDER BY txt"));
        state.counters["rows"] = count(st);
    }
}

} // namespace

BENCHMARK(OpenFirstFirm)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenFirstFirmFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenAllFirmsByName)->Unit(benchmark::kMillisecond);
BENCHMARK(Filter100k)->Unit(benchmark::kMillisecond);
BENCHMARK(Filter100kFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(SortMisto100k)->Unit(benchmark::kMillisecond);
BENCHMARK(SortMisto100kFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(Read50AtRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(Read50AtRandomFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(DictionaryPrefix)->Unit(benchmark::kMillisecond);
BENCHMARK(DictionaryPrefixFloor)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
