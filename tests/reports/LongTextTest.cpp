// Line breaking of texts that are very long, mostly without a place to break:
// the result must be right (nothing lost, every line fits, lines as full as
// they can be) and the work must grow with the text, not with its square.
// Speed itself is measured in bench/bench_layout.cpp.
#include "reports/LabelComposer.h"
#include "reports/TextMeasure.h"

#include <QFont>
#include <QImage>
#include <QTextLayout>
#include <gtest/gtest.h>

using kv::LabelComposer;
using kv::TextMeasure;

namespace
{

QFont font()
{
    return QFont(QStringLiteral("DejaVu Sans"), 9);
}

QString word(qsizetype length)
{
    QString w;
    w.reserve(length);
    for (qsizetype i = 0; i < length; ++i)
        w += QChar(u'a' + int(i * 7 % 26));
    return w;
}

// Qt's breaking of one paragraph on the 96-dpi reference, as the program has
// always broken ordinary text.
QStringList qtLines(const QString& para, qreal width)
{
    QImage reference(1, 1, QImage::Format_RGB32);
    reference.setDotsPerMeterX(qRound(96 / 0.0254));
    reference.setDotsPerMeterY(qRound(96 / 0.0254));
    QTextLayout layout(para, TextMeasure::layoutFont(font()), &reference);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(width);
    layout.endLayout();
    QStringList out;
    for (int i = 0; i < layout.lineCount(); ++i) {
        QString piece = para.mid(layout.lineAt(i).textStart(), layout.lineAt(i).textLength());
        while (piece.endsWith(u' '))
            piece.chop(1);
        out << piece;
    }
    return out;
}

void expectFullLinesOf(const QString& text, const QStringList& lines, qreal width)
{
    EXPECT_EQ(lines.join(QString()), text) << "nothing lost, nothing added";
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_LE(TextMeasure::width(lines[i], font()), width) << i;
        if (i + 1 < lines.size()) { // greedy: one more character would not fit
            EXPECT_GT(TextMeasure::width(lines[i] + lines[i + 1].left(1), font()), width) << i;
        }
    }
}

} // namespace

TEST(LongText, OrdinaryTextBreaksAsBefore)
{
    QString manyWords;
    for (int i = 0; i < 600; ++i)
        manyWords += word(3 + i % 9) + (i % 13 == 0 ? QStringLiteral("-") : QStringLiteral(" "));
    const QStringList texts{QStringLiteral("Alfa Beta Gama Delta Epsilon Zeta Eta Theta"),
                            QStringLiteral("Stavební a obchodní společnost Vodičkova, s.r.o."),
                            QStringLiteral("Slovo   s mezerami  a\tznaky,,, na konci   "),
                            word(300) + QStringLiteral(" krátké slovo ") +
                                word(120), // long, but not beyond the limit
                            manyWords};
    for (qreal width : {60.0, 200.0, 700.0}) {
        for (const QString& t : texts)
            EXPECT_EQ(TextMeasure::lines(t, font(), width, true), qtLines(t, width))
                << width << " " << t.left(60).toStdString();
    }
}

TEST(LongText, WordLongerThanTheLineIsBrokenIntoFullLines)
{
    for (qsizetype length : {401, 5000, 60000}) {
        const QString w = word(length);
        const QStringList lines = TextMeasure::lines(w, font(), 300, true);
        ASSERT_GT(lines.size(), 1);
        expectFullLinesOf(w, lines, 300);
    }
    // Between ordinary words: the word starts a line of its own, the words
    // after it follow its last piece while they fit.
    const QString long1 = word(3000);
    const QString text = QStringLiteral("Firma ") + long1 + QStringLiteral(" s.r.o. Praha");
    const QStringList mixed = TextMeasure::lines(text, font(), 250, true);
    ASSERT_GE(mixed.size(), 3);
    EXPECT_EQ(mixed.first(), QStringLiteral("Firma"));
    EXPECT_TRUE(mixed.last().endsWith(QStringLiteral("Praha")));
    EXPECT_EQ(mixed.join(QString()).remove(u' '), QString(text).remove(u' '));
    for (const QString& line : mixed)
        EXPECT_LE(TextMeasure::width(line, font()), 250);
    expectFullLinesOf(mixed.mid(1, mixed.size() - 3).join(QString()),
                      mixed.mid(1, mixed.size() - 3), 250);
    // Explicit line breaks still break; an astral character is never split.
    const QString astral = QString::fromUtf8("\xF0\x9F\x98\x80").repeated(2000);
    const QStringList broken = TextMeasure::lines(astral + "\n" + word(10), font(), 100, true);
    EXPECT_EQ(broken.last(), word(10));
    for (const QString& line : broken)
        EXPECT_FALSE(!line.isEmpty() && line.back().isHighSurrogate());
}

TEST(LongText, MeasuringGrowsWithTheTextNotWithItsSquare)
{
    const auto measurementsFor = [](qsizetype length) {
        const qint64 before = TextMeasure::measurements;
        const QStringList lines = TextMeasure::lines(word(length), font(), 400, true);
        return std::pair{TextMeasure::measurements - before, lines.size()};
    };
    const auto [small, smallLines] = measurementsFor(100000);
    const auto [large, largeLines] = measurementsFor(400000);
    EXPECT_LT(large, 5 * small) << small << " then " << large;
    EXPECT_LT(large, 40 * largeLines) << "a few measurements a line";
}

TEST(LongText, LabelLinesAreShortenedInAFewMeasurements)
{
    int calls = 0;
    LabelComposer c([&calls](const QString& t) {
        ++calls;
        return 10.0 * t.size();
    });
    c.lineWidth = 500;
    const QString street = word(100000);
    EXPECT_EQ(c.shorten(street), street.left(50));
    EXPECT_LT(calls, 60) << "not one measurement per character dropped";
    calls = 0;
    EXPECT_EQ(c.shorten(QStringLiteral("Krátká")), QStringLiteral("Krátká"));
    EXPECT_EQ(c.shorten(QString()), QString());
    c.lineWidth = 5;
    EXPECT_EQ(c.shorten(QStringLiteral("Ab")), QString());
}
