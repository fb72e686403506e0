#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

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
    // word wider than the width) to fit width.
    static QStringList lines(const QString& text, const QFont& font, qreal width, bool wrap);
    // The font as used for measuring (no hinting, so widths scale linearly).
    static QFont layoutFont(const QFont& font);
};

} // namespace kv
