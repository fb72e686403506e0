// Band report engine: generating a long list report into the page store, and
// how soon its first page can be shown. The data is in memory, so the figures
// are the engine's own (layout, text measuring, page store).
#include "reports/MemoryDataSource.h"
#include "reports/Report.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

using namespace kv;

namespace
{

constexpr int kPerPage = 9; // 110-unit blocks between a 37-unit footer and 10 mm margins

QList<QVariantMap> rows(int count)
{
    QList<QVariantMap> out;
    out.reserve(count);
    for (int i = 1; i <= count; ++i)
        out.append({{"peno", i},
                    {"nazev", QStringLiteral("Stavební firma číslo %1 s.r.o.").arg(i)},
                    {"ulice", QStringLiteral("Masarykova %1").arg(i % 300)},
                    {"misto", QStringLiteral("Jihlava")},
                    {"tel", QStringLiteral("+420 567 %1").arg(i % 1000000, 6, 10, QChar('0'))}});
    return out;
}

void makeReport(Report& report, MemoryDataSource& data)
{
    report.marginsMm = QMarginsF(10, 10, 10, 10);
    report.setDataSource(&data);
    report.eventInterval = 8;
    auto& detail = report.addBand(BandKind::Detail, "detail");
    detail.height = 110;
    detail.addExpression("adr", QRectF(0, 0, 700, 17),
                         "TPrn.nazev + ';  ' + TPrn.ulice + ';  ' + TPrn.misto");
    detail.addExpression("tel", QRectF(25, 18, 400, 15), "'Telefon      :  ' + TPrn.tel");
    auto& footer = report.addBand(BandKind::PageFooter, "footer");
    footer.height = 37;
    footer.topLine = true;
    footer.addText("imprint", QRectF(8, 5, 449, 29), "Lumora s.r.o.\r\nwww.lumora-kv.cz");
    footer.addExpression("page", QRectF(600, 20, 100, 15), "'Strana: ' + PAGENUMBER");
}

void BM_Generate1000Pages(benchmark::State& state)
{
    MemoryDataSource data(rows(1000 * kPerPage));
    Report report;
    makeReport(report, data);
    int pages = 0;
    for (auto _ : state)
        pages = report.generate();
    state.counters["pages"] = pages;
    state.counters["pages/s"] =
        benchmark::Counter(double(pages) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Generate1000Pages)->Unit(benchmark::kMillisecond);

void BM_FirstPageAvailable(benchmark::State& state)
{
    MemoryDataSource data(rows(1000 * kPerPage));
    Report report;
    makeReport(report, data);
    QElapsedTimer clock;
    bool seen = false;
    QObject::connect(&report.pageStore(), &PageStore::pageAdded, [&](int count) {
        if (count == 1 && !seen) {
            seen = true;
            state.SetIterationTime(clock.nsecsElapsed() / 1e9);
            report.cancel(); // the rest is the other benchmark's business
        }
    });
    for (auto _ : state) {
        seen = false;
        clock.start();
        report.generate();
    }
}
BENCHMARK(BM_FirstPageAvailable)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
