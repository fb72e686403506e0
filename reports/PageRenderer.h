#pragma once

#include <QRectF>

class QPainter;

namespace kv
{

struct ReportPage;

// Draws a stored page into any rectangle of any painter: the preview at its
// zoom, a printer page, a PDF page, an image.
class PageRenderer
{
public:
    static void draw(QPainter& painter, const ReportPage& page, const QRectF& target);
};

} // namespace kv
