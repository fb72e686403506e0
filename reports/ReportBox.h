#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>
#include <optional>

namespace kv
{

// A printed item inside a band. Position and size are in layout units from the
// band's top left corner. Before-print hooks change these members freely.
struct ReportBox {
    enum class Kind {
        Text,         // text
        Field,        // source.field of a cursor (source empty: the driving cursor)
        Expression,   // expression, see ReportExpression
        PageNumber,   // text + the page number
        ColumnNumber, // the column number
        ReportTitle,  // the report's title
        Picture,      // picture, scaled into rect
    };

    QString name;
    Kind kind = Kind::Text;
    QString text;
    QString source;
    QString field;
    QString expression;
    QImage picture;

    QRectF rect;
    std::optional<QFont> font; // the report font when unset
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    QColor color = Qt::black;
    bool wordWrap = false;
    bool autoSize = false;    // widen to the text (pictures: take the picture's size)
    bool autoStretch = false; // grow downwards to hold every line
    bool visible = true;
};

} // namespace kv
