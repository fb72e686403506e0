// One client of the server load test (bench/pg_load_test.sh runs several at
// once): for SECONDS it repeats what a desktop does with the directory on a
// server, and prints one line per action with its wall time in
// milliseconds:
//   sel <ms> <firms>   a saved selection applied: the filter built from the
//                      index tables, installed on the company cursor in name
//                      order and counted (the selection window's OK)
//   screen <ms>        a jump to a random place of that set and 40 list rows
//                      read (a screenful of the list)
//   error <message>    an action that failed (the load test allows none)
//
//   bench_pg_client URL SECONDS SEED FILE.kvv...
#include "core/Error.h"
#include "domain/EngineStatementRunner.h"
#include "domain/FilterBuilder.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionState.h"
#include "engine/Database.h"
#include "engine/TableCursor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <QTextStream>

#include <vector>

using namespace kv;

namespace
{

constexpr int kScreenRows = 40;
constexpr int kScreensPerSelection = 5;

double msSince(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() < 4) {
        err << "usage: bench_pg_client URL SECONDS SEED FILE.kvv...\n";
        return 2;
    }
    const QString url = args[0];
    const qint64 limitMs = args[1].toLongLong() * 1000;
    QRandomGenerator random(args[2].toUInt());
    std::vector<SelectionState> selections;
    for (const QString& file : args.mid(3)) {
        SelectionState state;
        try {
            if (!loadSelection(file, state)) {
                err << file << ": not a selection file\n";
                return 2;
            }
        } catch (const Error& e) {
            err << e.message() << '\n';
            return 2;
        }
        selections.push_back(state);
    }

    QElapsedTimer whole;
    whole.start();
    engine::Database db;
    while (whole.elapsed() < limitMs) {
        QElapsedTimer t;
        t.start();
        try {
            // A dropped connection is opened again by the next action.
            if (!db.isServer())
                db.openServer(url);
            const SelectionState& state = selections[random.bounded(int(selections.size()))];
            EngineStatementRunner runner(db);
            FilterBuilder builder(runner, QString());
            engine::TableCursor firms(db, QStringLiteral("firma"));
            firms.setSort(QStringLiteral("nazev"));
            firms.setFilter(builder.buildFilterWithSets(state), true);
            firms.open();
            const int count = firms.recordCount();
            out << "sel " << msSince(t) << ' ' << count << '\n';
            for (int s = 0; s < kScreensPerSelection && count > 0; ++s) {
                t.restart();
                const int top = 1 + random.bounded(count);
                firms.setPosition(top);
                for (int r = 0; r < kScreenRows && top + r <= count; ++r)
                    firms.rowAt(top + r).value(QStringLiteral("nazev"));
                out << "screen " << msSince(t) << '\n';
            }
        } catch (const Error& e) {
            out << "error " << e.message().simplified() << '\n';
            db.close();
        }
        out.flush();
    }
    return 0;
}
