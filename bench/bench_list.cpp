// The company list on a large set: painting a screenful of lines at a random
// place of a million-firm set; opening the profile window on a random firm
// of it. Needs a data home with a big database
// (kvelta make-demo DIR --firms 1000000) in the environment variable
// KV_BENCH_HOME; without it every benchmark is skipped. KV_BENCH_DB measures
// the company data on a server instead (bench/BenchData.h).
#include "BenchData.h"
#include "core/Settings.h"
#include "domain/DataModule.h"
#include "domain/FirmListModel.h"
#include "domain/Links.h"
#include "ui/FirmListWindow.h"
#include "ui/ProfileWindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTableView>
#include <memory>

namespace
{

constexpr int ScreenRows = 40;

struct ListHome {
    std::unique_ptr<kv::DataModule> dm;
    std::unique_ptr<kv::FirmListWindow> list;
    QString error;
};

ListHome& home()
{
    static ListHome h = [] {
        ListHome out;
        if (!kv::bench::useData(&out.error))
            return out;
        const QString path = kv::settings().dataHome;
        out.dm = std::make_unique<kv::DataModule>();
        const kv::DataModule::OpenResult opened = out.dm->openDatabase();
        if (opened.status != kv::DataModule::OpenStatus::Opened) {
            out.error =
                QStringLiteral("Cannot open the database below %1: %2").arg(path, opened.message);
            out.dm.reset();
            return out;
        }
        out.dm->firms()->setFilter(QString(), false); // every firm, by name
        out.list = std::make_unique<kv::FirmListWindow>(out.dm.get(), nullptr);
        out.list->show();
        QCoreApplication::processEvents();
        // A screenful of ScreenRows lines.
        QTableView* grid = out.list->grid();
        out.list->resize(out.list->width(),
                         out.list->height() - grid->viewport()->height() +
                             grid->verticalHeader()->defaultSectionSize() * ScreenRows);
        QCoreApplication::processEvents();
        return out;
    }();
    return h;
}

bool ready(benchmark::State& state)
{
    if (home().list)
        return true;
    state.SkipWithError(home().error.toUtf8().constData());
    return false;
}

// What the user waits for after a jump: the cursor moves (with its detail
// cursors and the data module's notification), the list follows and paints.
void MoveAndPaintScreen(benchmark::State& state)
{
    if (!ready(state))
        return;
    kv::engine::TableCursor* firms = home().dm->firms();
    QRandomGenerator random(2001);
    for (auto _ : state) {
        firms->setPosition(1 + int(random.bounded(quint32(firms->recordCount()))));
        benchmark::DoNotOptimize(home().list->grid()->viewport()->grab());
    }
    state.counters["firms"] = firms->recordCount();
    state.counters["rows"] =
        home().list->grid()->rowAt(home().list->grid()->viewport()->height() - 1) -
        home().list->grid()->rowAt(0) + 1;
}

// Scrolling alone: the grid shows another screenful, the cursor stays.
void ScrollAndPaintScreen(benchmark::State& state)
{
    if (!ready(state))
        return;
    QTableView* grid = home().list->grid();
    QRandomGenerator random(2002);
    for (auto _ : state) {
        grid->verticalScrollBar()->setValue(
            int(random.bounded(quint32(grid->verticalScrollBar()->maximum() + 1))));
        benchmark::DoNotOptimize(grid->viewport()->grab());
    }
}

// The model's share: the two roles the delegate reads for a screenful.
void ModelScreenData(benchmark::State& state)
{
    if (!ready(state))
        return;
    kv::FirmListModel* model = home().list->model();
    QRandomGenerator random(2003);
    const int rows = model->rowCount();
    for (auto _ : state) {
        const int top = int(random.bounded(quint32(std::max(1, rows - ScreenRows))));
        for (int row = top; row < top + ScreenRows && row < rows; ++row) {
            const QModelIndex index = model->index(row, 0);
            benchmark::DoNotOptimize(model->data(index, Qt::DisplayRole));
            benchmark::DoNotOptimize(model->data(index, Qt::FontRole));
        }
    }
}

// A new set of the same size (sort by town): the list refreshes and repaints.
void SortAndPaintScreen(benchmark::State& state)
{
    if (!ready(state))
        return;
    kv::engine::TableCursor* firms = home().dm->firms();
    bool byTown = false;
    for (auto _ : state) {
        byTown = !byTown;
        firms->setSort(byTown ? QStringLiteral("misto") : QStringLiteral("nazev"));
        benchmark::DoNotOptimize(home().list->grid()->viewport()->grab());
    }
    firms->setSort(QStringLiteral("nazev"));
}

// Opening the profile: the window is made for the current firm (a random
// one; the move and the list's repaint are outside the timing), shown, laid
// out and painted.
void OpenProfileAndPaint(benchmark::State& state)
{
    if (!ready(state))
        return;
    kv::engine::TableCursor* firms = home().dm->firms();
    QRandomGenerator random(2004);
    for (auto _ : state) {
        state.PauseTiming();
        firms->setPosition(1 + int(random.bounded(quint32(firms->recordCount()))));
        QCoreApplication::processEvents();
        state.ResumeTiming();
        kv::ProfileWindow profile(home().dm.get(), nullptr,
                                  QString::fromLatin1(kv::links::FirmDetail));
        profile.resize(640, 720);
        profile.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(profile.grab());
    }
}

} // namespace

BENCHMARK(MoveAndPaintScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(ScrollAndPaintScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(ModelScreenData)->Unit(benchmark::kMicrosecond);
BENCHMARK(SortAndPaintScreen)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(OpenProfileAndPaint)->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The window and the data module go before the application object.
    home().list.reset();
    home().dm.reset();
    return 0;
}
