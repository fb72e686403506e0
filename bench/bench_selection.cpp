// OK of the selection window on a large company set: BuildFilter (index
// statements per value plus the combining statement), installing the filter
// on the company cursor and counting it. Needs a data home made by
// "kvelta make-demo DIR --firms 1000000" in KV_BENCH_HOME; without it every
// benchmark is skipped. Counters: build_ms (BuildFilter), statements_ms (the
// part of it spent running the index statements through the engine), and
// install_count_ms (setting the filter on the company cursor and counting).
// sqlite_share is the part of the wall time SQLite reports for its own
// statements (trace profile events, which SQLite times in whole milliseconds,
// so only the large cases give a meaningful share). The company numbers the
// index rows find reach the cursor as numbers (FilterBuilder::
// buildFilterWithSets); filter_chars is the length of the same filter spelled
// out, measured outside the timing. CountFrequentNameWord is the selection
// window's Count; ...Floor twins run the bare SQLite statement for the same
// firms. peak_rss_mb is the process's peak resident memory so far. With
// KV_BENCH_DB the company data is on that server (bench/BenchData.h); the
// SQLite share is then 0.
#include "BenchData.h"
#include "core/Error.h"
#include "domain/EngineStatementRunner.h"
#include "domain/FilterBuilder.h"
#include "domain/FirmCursorCompanySet.h"
#include "domain/SelectionApply.h"
#include "domain/SelectionState.h"
#include "engine/Database.h"
#include "engine/Statement.h"
#include "engine/TableCursor.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDir>
#include <QRandomGenerator>
#include <chrono>
#include <memory>
#include <sys/resource.h>

using namespace kv;
using Row = SelectionState::Row;

namespace
{

struct Home {
    std::unique_ptr<engine::Database> db;
    std::unique_ptr<engine::TableCursor> firma;
    QString noteDir;
    QString error;
    SelectionState frequentWord, threeWords, townOrDistrict, industry;
    qint64 sqliteNs = 0;
};

int traceProfile(unsigned type, void* context, void*, void* elapsed)
{
    if (type == SQLITE_TRACE_PROFILE)
        static_cast<Home*>(context)->sqliteNs += *static_cast<sqlite3_int64*>(elapsed);
    return 0;
}

QList<QPair<QString, QString>> rows(engine::Database& db, const QString& sql)
{
    engine::Statement st(db, sql);
    QList<QPair<QString, QString>> out;
    while (st.step())
        out << qMakePair(st.text(0), st.text(1));
    return out;
}

void setUp(Home& h, const QString& path)
{
    h.db = bench::openDatabase();
    h.noteDir = QDir(path).filePath(QStringLiteral("Pozn"));
    h.firma = std::make_unique<engine::TableCursor>(*h.db, QStringLiteral("firma"));
    h.firma->setSort(QStringLiteral("nazev"));
    h.firma->setFilter(QStringLiteral("peno in(200219)"), true);
    h.firma->open();

    // The commonest word, then the words commonest beside it, so that the
    // three together still select firms ("spol. s r.o."-like names).
    const auto first =
        rows(*h.db, QStringLiteral("SELECT id, count(*) c FROM slnazev_p GROUP BY id "
                                   "ORDER BY c DESC LIMIT 1"));
    if (first.isEmpty())
        throw Error::engine(QStringLiteral("the name index is empty"));
    QStringList ids{first[0].first};
    while (ids.size() < 3) {
        QString sql = QStringLiteral("SELECT id, count(*) c FROM slnazev_p WHERE id NOT IN (%1)")
                          .arg(ids.join(u','));
        for (const QString& id : ids)
            sql +=
                QStringLiteral(" AND peno IN (SELECT peno FROM slnazev_p WHERE id = %1)").arg(id);
        const auto next = rows(*h.db, sql + QStringLiteral(" GROUP BY id ORDER BY c DESC LIMIT 1"));
        if (next.isEmpty())
            throw Error::engine(QStringLiteral("no three name words occur together"));
        ids << next[0].first;
    }
    for (const QString& id : ids) {
        const auto word =
            rows(*h.db, QStringLiteral("SELECT txt, id FROM slnazev WHERE id = ") + id);
        if (ids.first() == id)
            h.frequentWord.row(Row::Nazev).add(word.value(0).first, id);
        h.threeWords.row(Row::Nazev).add(word.value(0).first, id);
    }
    h.threeWords.row(Row::Nazev).IsAnd = true;

    const auto town =
        rows(*h.db, QStringLiteral("SELECT id, misto FROM mista WHERE misto = 'Praha'"));
    const auto district =
        rows(*h.db, QStringLiteral("SELECT id, okres FROM okresy WHERE okres = 'Brno-venkov'"));
    if (town.isEmpty() || district.isEmpty())
        throw Error::engine(QStringLiteral("Praha or Brno-venkov is missing"));
    h.townOrDistrict.rgLogMezi = 0;
    h.townOrDistrict.row(Row::Misto).add(town[0].second, town[0].first);
    h.townOrDistrict.row(Row::Okres).add(district[0].second, district[0].first);

    const auto kod = rows(*h.db, QStringLiteral("SELECT kod, count(*) c FROM pzatrid GROUP BY kod "
                                                "ORDER BY abs(count(*) - 20000) LIMIT 1"));
    h.industry.row(Row::Zatrid).add(QStringLiteral("obor"), kod.value(0).first);

    if (!h.db->isServer())
        sqlite3_trace_v2(h.db->handle(), SQLITE_TRACE_PROFILE, &traceProfile, &h);
}

Home& home()
{
    static Home h = [] {
        Home out;
        if (!bench::useData(&out.error))
            return out;
        const QString path = bench::homePath();
        try {
            setUp(out, path);
        } catch (const Error& e) {
            if (!e.is(Error::Kind::Engine))
                throw;
            out.error = e.message();
            out.db.reset();
        }
        return out;
    }();
    return h;
}

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

using Clock = std::chrono::steady_clock;
double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The window's runner, with the time spent in its statements added up.
class TimedRunner : public StatementRunner
{
public:
    explicit TimedRunner(engine::Database& db) : m_runner(db) {}
    PenoList peno(const QStringList& lines) override
    {
        const auto t0 = Clock::now();
        PenoList result = m_runner.peno(lines);
        spent += Clock::now() - t0;
        return result;
    }
    QList<PenoList> penoPerValue(const ValueIndex& index, const QList<qint64>& keys,
                                 bool stopAtEmpty) override
    {
        const auto t0 = Clock::now();
        QList<PenoList> result = m_runner.penoPerValue(index, keys, stopAtEmpty);
        spent += Clock::now() - t0;
        return result;
    }
    PenoList combine(const std::function<QString()>& statement, const QList<PenoList>& lists,
                     bool all) override
    {
        const auto t0 = Clock::now();
        PenoList result = m_runner.combine(statement, lists, all);
        spent += Clock::now() - t0;
        return result;
    }
    PenoList firmsOfRow(const ValueIndex& index, const QList<qint64>& keys, bool all,
                        const CombiningStatement& combining) override
    {
        const auto t0 = Clock::now();
        PenoList result = m_runner.firmsOfRow(index, keys, all, combining);
        spent += Clock::now() - t0;
        return result;
    }
    qsizetype countFirms(const engine::Filter& filter) override
    {
        const auto t0 = Clock::now();
        const qsizetype n = m_runner.countFirms(filter);
        spent += Clock::now() - t0;
        return n;
    }
    Clock::duration spent{};

private:
    EngineStatementRunner m_runner;
};

void runOk(benchmark::State& state, SelectionState Home::*selection)
{
    Home& h = home();
    if (!h.db) {
        state.SkipWithError(h.error.toUtf8().constData());
        return;
    }
    double build = 0, statements = 0, install = 0, total = 0;
    qint64 sqlite = 0;
    int n = 0;
    qsizetype filterLength = 0;
    for (auto _ : state) {
        h.sqliteNs = 0;
        const auto t0 = Clock::now();
        TimedRunner runner(*h.db);
        FilterBuilder builder(runner, h.noteDir);
        const engine::Filter filter = builder.buildFilterWithSets(h.*selection);
        const auto t1 = Clock::now();
        FirmCursorCompanySet set(*h.firma);
        const ApplyResult r = applySelection(filter, set);
        n = r.recordCount;
        const auto t2 = Clock::now();
        build += ms(t1 - t0);
        statements += ms(runner.spent);
        install += ms(t2 - t1);
        total += ms(t2 - t0);
        sqlite += h.sqliteNs;
        // Back to the start-up set, outside the measured work's comparison.
        state.PauseTiming();
        filterLength = filter.text().size();
        h.firma->setFilter(QStringLiteral("peno in(200219)"), true);
        state.ResumeTiming();
    }
    const double it = double(state.iterations());
    state.counters["firms"] = n;
    state.counters["filter_chars"] = double(filterLength);
    state.counters["build_ms"] = build / it;
    state.counters["statements_ms"] = statements / it;
    state.counters["install_count_ms"] = install / it;
    state.counters["sqlite_share"] = total > 0 ? (double(sqlite) / 1e6) / total : 0;
    state.counters["peak_rss_mb"] = peakRssMb();
}

// The commonest word's firms installed on the company cursor (outside the timing).
bool frequentWordInstalled(benchmark::State& state, Home& h)
{
    if (!h.db) {
        state.SkipWithError(h.error.toUtf8().constData());
        return false;
    }
    EngineStatementRunner runner(*h.db);
    FilterBuilder builder(runner, h.noteDir);
    h.firma->setSort(QStringLiteral("nazev"));
    h.firma->setFilter(builder.buildFilterWithSets(h.frequentWord), true);
    return true;
}

void CountFrequentNameWord(benchmark::State& state)
{
    Home& h = home();
    if (!h.db) {
        state.SkipWithError(h.error.toUtf8().constData());
        return;
    }
    int n = 0;
    for (auto _ : state) {
        EngineStatementRunner runner(*h.db);
        FilterBuilder builder(runner, h.noteDir);
        n = countSelection(builder.buildFilterWithSets(h.frequentWord), runner).value_or(0);
    }
    state.counters["firms"] = n;
    state.counters["peak_rss_mb"] = peakRssMb();
}

void CountFrequentNameWordFloor(benchmark::State& state)
{
    Home& h = home();
    if (!h.db) {
        state.SkipWithError(h.error.toUtf8().constData());
        return;
    }
    const QString sql = QStringLiteral("SELECT count(*) FROM firma WHERE peno IN "
                                       "(SELECT peno FROM slnazev_p WHERE id = %1)")
                            .arg(h.frequentWord.row(Row::Nazev).Ids.value(0));
    qint64 n = 0;
    for (auto _ : state) {
        engine::Statement st(*h.db, sql);
        n = st.step() ? st.int64(0) : 0;
    }
    state.counters["firms"] = double(n);
}

// Sort of the selected set by town, then back by name (one re-sort each way).
void ResortFrequentNameWord(benchmark::State& state)
{
    Home& h = home();
    if (!frequentWordInstalled(state, h))
        return;
    bool byTown = false;
    for (auto _ : state) {
        byTown = !byTown;
        h.firma->setSort(byTown ? QStringLiteral("misto") : QStringLiteral("nazev"));
    }
    state.counters["firms"] = h.firma->recordCount();
    h.firma->setSort(QStringLiteral("nazev"));
}

// A screenful (40 rows, the list's fields) at a random place of the set.
void ScreenAtRandomFrequentNameWord(benchmark::State& state)
{
    Home& h = home();
    if (!frequentWordInstalled(state, h))
        return;
    QRandomGenerator rng(2001);
    const int n = h.firma->recordCount();
    for (auto _ : state) {
        const int from = 1 + int(rng.bounded(qMax(1, n - 40)));
        for (int p = from; p < from + 40; ++p) {
            const engine::Record r = h.firma->rowAt(p);
            benchmark::DoNotOptimize(r.value(QStringLiteral("nazev")));
            benchmark::DoNotOptimize(r.value(QStringLiteral("misto")));
        }
    }
    state.counters["firms"] = n;
}

void OkFrequentNameWord(benchmark::State& s)
{
    runOk(s, &Home::frequentWord);
}
void OkThreeNameWordsAnd(benchmark::State& s)
{
    runOk(s, &Home::threeWords);
}
void OkTownOrDistrict(benchmark::State& s)
{
    runOk(s, &Home::townOrDistrict);
}
void OkIndustry20k(benchmark::State& s)
{
    runOk(s, &Home::industry);
}

} // namespace

BENCHMARK(OkFrequentNameWord)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(OkThreeNameWordsAnd)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(OkTownOrDistrict)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(OkIndustry20k)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(CountFrequentNameWord)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(CountFrequentNameWordFloor)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ResortFrequentNameWord)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(ScreenAtRandomFrequentNameWord)->Unit(benchmark::kMillisecond)->Iterations(50);

BENCHMARK_MAIN();
