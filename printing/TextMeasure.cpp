#include "printing/TextMeasure.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTextLayout>

namespace kv
{

namespace
{

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

} // namespace

QFont TextMeasure::layoutFont(const QFont& font)
{
    QFont f(font);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

qreal TextMeasure::width(const QString& text, const QFont& font)
{
    return QFontMetricsF(layoutFont(font), reference()).horizontalAdvance(text);
}

qreal TextMeasure::lineHeight(const QFont& font)
{
    return QFontMetricsF(layoutFont(font), reference()).lineSpacing();
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
    QStringList out;
    for (const QString& para : paragraphs) {
        if (para.isEmpty()) {
            out.append(QString());
            continue;
        }
        QTextLayout layout(para, f, reference());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(qMax<qreal>(width, 1));
        }
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            QString piece = para.mid(line.textStart(), line.textLength());
            while (piece.endsWith(u' '))
                piece.chop(1);
            out.append(piece);
        }
    }
    return out;
}

} // namespace kv
