// Quick find on a large company set: the answer to one keystroke (the
// growing text of a user typing a name, a town or an IČO), and building the
// side index for a database without its own. Needs a data home made by
// kvelta make-demo DIR --firms N in the environment variable KV_BENCH_HOME;
// without it every benchmark is skipped. With KV_BENCH_DB (a connection
// string) the keystrokes ask that server's copy of the index instead (load
// the same home with kvelta db load first).
#include "domain/QuickFind.h"
#include "engine/Database.h"
#include "engine/PgQuickFind.h"
#include "engine/QuickFindIndex.h"
#include "engine/ServerDirectory.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace
{

QString databasePath()
{
    const QString home = qEnvironmentVariable("KV_BENCH_HOME");
    return home.isEmpty() ? QString() : QDir(home).filePath(QStringLiteral("Dta/KV2001.db"));
}

struct Index {
    std::unique_ptr<kv::engine::Database> db;
    QString schema;
    QString error;
};

Index& index()
{
    static Index i = [] {
        Index out;
        if (const QString server = qEnvironmentVariable("KV_BENCH_DB"); !server.isEmpty()) {
            out.db = std::make_unique<kv::engine::Database>();
            out.db->openServer(server);
            if (kv::engine::PgQuickFind::available(*out.db))
                out.schema = out.db->directory()->version();
            else
                out.error = QStringLiteral("the server's version has no quick-find table");
            return out;
        }
        const QString path = databasePath();
        if (path.isEmpty() || !QFile::exists(path)) {
            out.error = QStringLiteral("KV_BENCH_HOME is not set to a data home with a demo "
                                       "database (kvelta make-demo DIR --firms N)");
            return out;
        }
        out.db = std::make_unique<kv::engine::Database>(path);
        out.schema = kv::engine::QuickFindIndex::attach(
            *out.db, kv::engine::QuickFindIndex::defaultCacheDir());
        return out;
    }();
    return i;
}

// Every prefix of the typed texts is one keystroke.
void typing(benchmark::State& state, const QStringList& texts)
{
    Index& i = index();
    if (!i.db || i.schema.isEmpty()) {
        state.SkipWithError(i.error.toStdString().c_str());
        return;
    }
    const kv::QuickFind find(*i.db, i.schema);
    QStringList keystrokes;
    for (const QString& t : texts)
        for (int n = 1; n <= t.size(); ++n)
            keystrokes << t.left(n);
    // One iteration is one keystroke, so the time per iteration is the
    // figure to compare with the target.
    qint64 rows = 0;
    qsizetype next = 0;
    for (auto _ : state) {
        rows += qint64(find.find(keystrokes[next]).size());
        next = (next + 1) % keystrokes.size();
    }
    benchmark::DoNotOptimize(rows);
}

void KeystrokeName(benchmark::State& state)
{
    typing(state, {QStringLiteral("stavebni spol"), QStringLiteral("ZELEZ"),
                   QStringLiteral("cesky krumlov")});
}
BENCHMARK(KeystrokeName)->Unit(benchmark::kMillisecond);

void KeystrokeIco(benchmark::State& state)
{
    typing(state, {QStringLiteral("25678123")});
}
BENCHMARK(KeystrokeIco)->Unit(benchmark::kMillisecond);

// One letter matches most firms: the worst keystroke.
void KeystrokeOneLetter(benchmark::State& state)
{
    typing(state, {QStringLiteral("a"), QStringLiteral("p"), QStringLiteral("s")});
}
BENCHMARK(KeystrokeOneLetter)->Unit(benchmark::kMillisecond);

// Two letters still fit a great many firms ("ch" also after "h").
void KeystrokeTwoLetters(benchmark::State& state)
{
    typing(state, {QStringLiteral("st"), QStringLiteral("pr"), QStringLiteral("ch")});
}
BENCHMARK(KeystrokeTwoLetters)->Unit(benchmark::kMillisecond);

// Building the side index as the program does for a database without one.
void BuildSideIndex(benchmark::State& state)
{
    const QString path = databasePath();
    if (path.isEmpty() || !QFile::exists(path)) {
        state.SkipWithError("KV_BENCH_HOME is not set");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir cache;
        // A copy without the built-in index stands for an older database.
        const QString copy = cache.filePath(QStringLiteral("KV2001.db"));
        QFile::copy(path, copy);
        {
            kv::engine::Database w(copy, kv::engine::Database::Mode::ReadWrite);
            w.exec(QStringLiteral("DROP TABLE IF EXISTS kv_quickfind"));
        }
        kv::engine::Database db(copy);
        state.ResumeTiming();
        kv::engine::QuickFindIndex::attach(db, cache.filePath(QStringLiteral("cache")));
    }
}
BENCHMARK(BuildSideIndex)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
