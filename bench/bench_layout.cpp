// Line breaking of very long texts: an unbroken firm name of 1 and 4 MB and a
// one-line note of words, broken to a report line, and a street cut to a
// label line. The time must grow about linearly with the length.
#include "reports/LabelComposer.h"
#include "reports/TextMeasure.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>

using namespace kv;

namespace
{

QString unbroken(qsizetype length)
{
    QString w;
    w.reserve(length);
    for (qsizetype i = 0; i < length; ++i)
        w += QChar(u'a' + int(i * 7 % 26));
    return w;
}

QString words(qsizetype length)
{
    QString w;
    w.reserve(length + 16);
    for (qsizetype i = 0; w.size() < length; ++i)
        w += QStringLiteral("slovo%1 ").arg(i % 1000);
    return w;
}

const QFont& font()
{
    static const QFont f(QStringLiteral("DejaVu Sans"), 9);
    return f;
}

void BM_UnbrokenText(benchmark::State& state)
{
    const QString text = unbroken(state.range(0) * 1024 * 1024);
    qsizetype lines = 0;
    for (auto _ : state)
        lines = TextMeasure::lines(text, font(), 700, true).size();
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_UnbrokenText)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_OneLineOfWords(benchmark::State& state)
{
    const QString text = words(state.range(0) * 1024 * 1024 / 10);
    qsizetype lines = 0;
    for (auto _ : state)
        lines = TextMeasure::lines(text, font(), 700, true).size();
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_OneLineOfWords)->Arg(12)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LabelStreet(benchmark::State& state)
{
    const QString text = unbroken(state.range(0) * 1024 * 1024);
    LabelComposer composer(font());
    composer.lineWidth = 250;
    for (auto _ : state)
        benchmark::DoNotOptimize(composer.shorten(text));
}
BENCHMARK(BM_LabelStreet)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(1);

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
