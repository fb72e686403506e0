#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace kv
{

// Text measured in layout units (1/96 inch) on a fixed 96-dpi reference
// surface, whatever device the report goes to, so the preview, a printer and
// a PDF file break lines and pages the same way.
class TextMeasure
{
public:
    static qreal width(const QString& text, const QFont& font);
    static qreal lineHeight(const QFont& font);
    // The lines of text: explicit line breaks (CR LF, LF, CR) always break;
    // with wrap, lines are also broken at word boundaries (or anywhere for a
    // word wider than the width) to fit width. Time grows about linearly
    // with the text, however long its words.
    static QStringList lines(const QString& text, const QFont& font, qreal width, bool wrap);
    // Length of the longest prefix of text no wider than width (0 when not
    // even one character fits) under a measure that grows with the prefix:
    // about 2 log(line length) measurements of at most about two lines each,
    // instead of one per character.
    static qsizetype longestFitting(QStringView text, qreal width,
                                    const std::function<qreal(QStringView)>& measure);
    // The font as used for measuring (no hinting, so widths scale linearly).
    static QFont layoutFont(const QFont& font);

    // Measurements taken so far (for tests that check the work done grows
    // with the text rather than with its square).
    static std::atomic<qint64> measurements;
};

} // namespace kv
