#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

namespace kv
{

enum class BandKind { PageHeader, Detail, Child, GroupHeader, SubDetail, PageFooter };

// One recorded drawing operation of a page, in layout units (1/96 inch) from
// the paper's top left corner. Text is already broken into lines, so every
// device draws the same lines.
struct DrawOp {
    enum class Type {
        Band, // marker: where a band was placed (nothing is drawn)
        Text, // one line of text inside rect, cut at clip
        Line, // from rect.topLeft() to rect.bottomRight()
        Picture,
    };
    Type type = Type::Text;
    BandKind bandKind = BandKind::Detail;
    QString bandName;
    QString boxName;
    QRectF rect;
    QRectF clip;
    QString text;
    QFont font;
    int alignment = 0; // Qt::Alignment flags, horizontal part used
    QColor color = Qt::black;
    Qt::PenStyle penStyle = Qt::SolidLine;
    QImage image;
};

// A finished page: its size in layout units and its drawing operations.
struct ReportPage {
    int number = 0;
    QSizeF size;
    std::vector<DrawOp> ops;
};

} // namespace kv
