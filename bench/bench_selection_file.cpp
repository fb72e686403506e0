// Reading a selection file (*.kvv) just under its size limit: the peak
// resident memory the reader adds, for records of very short lines (the
// worst case: a value costs its strings whatever its few bytes) and of
// everyday lines. Each benchmark writes its file first, outside the
// measurement. Run one benchmark per process (--benchmark_filter), since a
// process's peak resident memory only grows: peak_growth_mb is the peak
// after the load less the peak before it, file_mb the file's size, and
// growth_per_file_byte their ratio.
#include "core/Cp1250.h"
#include "core/ListFile.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionRecord.h"
#include "domain/SelectionState.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <sys/resource.h>

using namespace kv;

namespace
{

double peakMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

// The i-th value of a row: its text and its key.
using Value = std::function<std::pair<QByteArray, QByteArray>(qint64 i)>;

// Appends the body of a mode 1 container: seven rows of n values each.
class BodyWriter
{
public:
    explicit BodyWriter(QFile& file) : m_file(file) {}
    ~BodyWriter() { flush(); }
    void line(const QByteArray& text)
    {
        m_chunk += text;
        m_chunk += "\r\n";
        if (m_chunk.size() > (1 << 20))
            flush();
    }
    void flush()
    {
        for (char& c : m_chunk)
            c = char(uchar(c) ^ uchar(selectionfile::Key & 0xFF));
        m_file.write(m_chunk);
        m_chunk.clear();
    }

private:
    QFile& m_file;
    QByteArray m_chunk;
};

// As many values per row as fit below the size limit, all rows equal.
QString writeFile(const QString& path, const Value& value)
{
    saveListFile({}, path, selectionfile::Mode, selectionfile::Key); // the header alone
    const qint64 fixed = listfile::HeaderSize + 64 + 7 * (3 + 2 * 9);
    qint64 rowBytes = 0, n = 0;
    while (n < CriterionValueList::MaxValues) {
        const auto [text, key] = value(n);
        const qint64 cost = text.size() + key.size() + 4;
        if (fixed + 7 * (rowBytes + cost) > selectionfile::MaxBytes)
            break;
        rowBytes += cost;
        ++n;
    }
    QFile f(path);
    if (!f.open(QIODevice::Append))
        return QString();
    BodyWriter out(f);
    out.line(Cp1250::encode(selectionrecord::header()));
    for (const char* flag : {"0", "1", "0", "0", "0"})
        out.line(flag);
    for (int row = 0; row < 7; ++row) {
        out.line("1");
        out.line(QByteArray::number(n));
        for (qint64 i = 0; i < n; ++i)
            out.line(value(i).first);
        out.line(QByteArray::number(n));
        for (qint64 i = 0; i < n; ++i)
            out.line(value(i).second);
    }
    return path;
}

void load(benchmark::State& state, const Value& value)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir.filePath(QStringLiteral("big.kvv")), value);
    const double fileMb = double(QFile(path).size()) / (1024.0 * 1024.0);
    const double before = peakMb();
    qint64 values = 0;
    for (auto _ : state) {
        SelectionState s;
        if (!loadSelection(path, s)) {
            state.SkipWithError("the file was not read as a selection");
            return;
        }
        values = 0;
        for (const CriterionValueList& row : s.rows)
            values += row.count();
    }
    const double growth = peakMb() - before;
    state.counters["file_mb"] = fileMb;
    state.counters["values"] = double(values);
    state.counters["peak_growth_mb"] = growth;
    state.counters["growth_per_file_byte"] = growth / fileMb;
}

// Empty texts and the one-digit key "7": five bytes a value.
void TinyLines(benchmark::State& state)
{
    load(state, [](qint64) { return std::pair<QByteArray, QByteArray>{"", "7"}; });
}
BENCHMARK(TinyLines)->Unit(benchmark::kMillisecond)->Iterations(1);

// Three-letter texts, all different, and keys of up to seven digits.
void ShortDistinctLines(benchmark::State& state)
{
    load(state, [](qint64 i) {
        const char t[3] = {char('a' + i % 26), char('a' + i / 26 % 26), char('a' + i / 676 % 26)};
        return std::pair<QByteArray, QByteArray>{QByteArray(t, 3), QByteArray::number(i)};
    });
}
BENCHMARK(ShortDistinctLines)->Unit(benchmark::kMillisecond)->Iterations(1);

// Names of about thirty letters and six-digit keys, as the window saves.
void EverydayLines(benchmark::State& state)
{
    load(state, [](qint64 i) {
        return std::pair<QByteArray, QByteArray>{"Stavebni spolecnost " + QByteArray::number(i) +
                                                     " s.r.o.",
                                                 QByteArray::number(100000 + i)};
    });
}
BENCHMARK(EverydayLines)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
