#include "reports/TextMeasure.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTextBoundaryFinder>
#include <QTextLayout>

namespace kv
{

namespace
{

// A run without a break opportunity longer than this (far more than any
// line of a report holds) is broken by our own breaker: Qt's layout looks
// at the whole rest of an unbroken word for every line it makes of it.
constexpr qsizetype kLongRun = 400;

QPaintDevice* reference()
{
    static QImage image = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        const int dpm = qRound(96 / 0.0254);
        img.setDotsPerMeterX(dpm);
        img.setDotsPerMeterY(dpm);
        return img;
    }();
    return &image;
}

QString withoutTrailingSpaces(QStringView text)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == u' ')
        --n;
    return text.left(n).toString();
}

// Qt's own line breaking, for ordinary paragraphs.
void layoutLines(const QString& para, const QFont& f, qreal width, QStringList& out)
{
    QTextLayout layout(para, f, reference());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
    }
    layout.endLayout();
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        out.append(
            withoutTrailingSpaces(QStringView(para).mid(line.textStart(), line.textLength())));
    }
}

// Breaks a paragraph that holds a very long unbroken run, in one pass: lines
// are filled greedily at the paragraph's break opportunities, and a run wider
// than a line is cut at the longest prefix that fits, found by doubling and
// then halving the prefix length, so each measurement covers about one line.
class LongParagraph
{
public:
    LongParagraph(const QString& para, const QFont& f, qreal width)
        : m_para(para), m_fm(f, reference()), m_width(width)
    {
    }

    qreal measure(QStringView text) const
    {
        ++TextMeasure::measurements;
        // A copy of just the prefix: measuring with a length would shape the whole text.
        return m_fm.horizontalAdvance(withoutTrailingSpaces(text));
    }

    // Length of the longest prefix of `text` that fits (at least one character).
    qsizetype fitting(QStringView text) const
    {
        const qsizetype k = TextMeasure::longestFitting(
            text, m_width, [this](QStringView prefix) { return measure(prefix); });
        if (k > 0)
            return k;
        return text.size() > 1 && text[0].isHighSurrogate() ? 2 : 1;
    }

    void breakInto(QStringList& out, const QList<qsizetype>& breaks) const
    {
        const QStringView para(m_para);
        qsizetype start = 0; // of the current line
        qsizetype end = 0;   // of what the current line holds so far
        for (qsizetype b : breaks) {
            if (b <= end)
                continue;
            if (fitting(para.mid(start, b - start)) == b - start) {
                end = b;
                continue;
            }
            if (end > start) { // the line so far is full; the run starts the next one
                out.append(withoutTrailingSpaces(para.mid(start, end - start)));
                start = end;
            }
            for (;;) {
                const qsizetype k = fitting(para.mid(start, b - start));
                if (k == b - start)
                    break;
                out.append(withoutTrailingSpaces(para.mid(start, k)));
                start += k;
            }
            end = b;
        }
        if (end > start || out.isEmpty())
            out.append(withoutTrailingSpaces(para.mid(start, end - start)));
    }

private:
    const QString& m_para;
    QFontMetricsF m_fm;
    qreal m_width;
};

// Where lines may end in para (end of paragraph included), and whether some
// run between two of them is longer than kLongRun.
bool breakOpportunities(const QString& para, QList<qsizetype>* breaks)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, para);
    bool longRun = false;
    qsizetype last = 0;
    for (qsizetype p = finder.toNextBoundary(); p > 0; p = finder.toNextBoundary()) {
        longRun = longRun || p - last > kLongRun;
        breaks->append(p);
        last = p;
    }
    if (breaks->isEmpty() || breaks->last() != para.size()) {
        longRun = longRun || para.size() - last > kLongRun;
        breaks->append(para.size());
    }
    return longRun;
}

} // namespace

std::atomic<qint64> TextMeasure::measurements{0};

QFont TextMeasure::layoutFont(const QFont& font)
{
    QFont f(font);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

qreal TextMeasure::width(const QString& text, const QFont& font)
{
    ++measurements;
    return QFontMetricsF(layoutFont(font), reference()).horizontalAdvance(text);
}

qreal TextMeasure::lineHeight(const QFont& font)
{
    return QFontMetricsF(layoutFont(font), reference()).lineSpacing();
}

qsizetype TextMeasure::longestFitting(QStringView text, qreal width,
                                      const std::function<qreal(QStringView)>& measure)
{
    // Doubling finds a prefix too wide, halving then finds the boundary:
    // about 2 log(line) measurements, none much longer than twice the line.
    qsizetype good = 0;
    qsizetype bad = -1;
    for (qsizetype probe = 16; bad < 0; probe *= 2) {
        if (probe >= text.size()) {
            if (measure(text) <= width)
                return text.size();
            bad = text.size();
        } else if (measure(text.left(probe)) > width) {
            bad = probe;
        } else {
            good = probe;
        }
    }
    while (bad - good > 1) {
        const qsizetype mid = good + (bad - good) / 2;
        (measure(text.left(mid)) <= width ? good : bad) = mid;
    }
    if (good > 0 && good < text.size() && text[good].isLowSurrogate())
        --good; // never between the halves of one character
    return good;
}

QStringList TextMeasure::lines(const QString& text, const QFont& font, qreal width, bool wrap)
{
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(u'\r', u'\n');
    const QStringList paragraphs = normal.split(u'\n');
    if (!wrap)
        return paragraphs;

    const QFont f = layoutFont(font);
    const qreal w = qMax<qreal>(width, 1);
    QStringList out;
    for (const QString& para : paragraphs) {
        if (para.isEmpty()) {
            out.append(QString());
            continue;
        }
        QList<qsizetype> breaks;
        if (para.size() > kLongRun && breakOpportunities(para, &breaks))
            LongParagraph(para, f, w).breakInto(out, breaks);
        else
            layoutLines(para, f, w, out);
    }
    return out;
}

} // namespace kv
