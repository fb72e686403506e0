// The data module on a large demo data home: from OpenDatabase to the first
// firm's list line, with every optional cursor open, the whole company
// table as the set, and the first page of the list preview of that set.
// Needs KV_BENCH_HOME (kvelta make-demo DIR --firms 1000000); KV_BENCH_DB
// measures the company data on a server instead (bench/BenchData.h).
#include "BenchData.h"
#include "core/Settings.h"
#include "domain/DataModule.h"
#include "domain/PrintCursorScope.h"
#include "reports/FirmListReport.h"
#include "reports/PageRenderer.h"
#include "reports/PageSink.h"
#include "reports/TableCursorSource.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <optional>
#include <sys/resource.h>

namespace
{

bool haveHome(benchmark::State& state)
{
    QString error;
    if (!kv::bench::useData(&error)) {
        state.SkipWithError(error.toUtf8().constData());
        return false;
    }
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

// Keeps the first page and stops the run there, as the preview shows the
// first page while the rest is still being made.
class FirstPage : public kv::PageSink
{
public:
    bool addPage(kv::ReportPage&& page) override
    {
        m_page.emplace(std::move(page));
        return false;
    }
    std::optional<kv::ReportPage> m_page;
};

// The list preview of the whole table (every firm, the list's order, every
// contact line): the print cursor takes the set, the report makes its first
// page and the page renderer draws it at 100 % zoom.
void ListPreviewFirstPage(benchmark::State& state)
{
    if (!haveHome(state))
        return;
    kv::DataModule dm;
    dm.openDatabase();
    dm.firms()->setFilter(QString(), false);
    QImage screen(794, 1123, QImage::Format_ARGB32_Premultiplied);
    int n = 0;
    for (auto _ : state) {
        kv::PrintCursorScope scope(dm);
        n = dm.printFirms()->recordCount();
        kv::TableCursorSource firms(*dm.printFirms());
        kv::FirmListReport list(firms);
        list.items.fill(true);
        FirstPage first;
        list.report().run(first);
        if (!first.m_page) {
            state.SkipWithError("no page");
            return;
        }
        screen.fill(Qt::white);
        QPainter painter(&screen);
        kv::PageRenderer::draw(painter, *first.m_page, QRectF(screen.rect()));
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["firms"] = n;
    state.counters["peak_rss_mb"] = double(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(ListPreviewFirstPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
