#pragma once

#include "reports/PageSink.h"

#include <QPainter>

class QPagedPaintDevice;

namespace kv
{

// Draws the pages of a run within a page range onto a paged device: a PDF
// writer, or a printer set up in ui/.
class PrinterPageSink : public PageSink
{
public:
    // The page is the device layout's full rectangle.
    PrinterPageSink(QPagedPaintDevice& device, int firstPage, int lastPage, PageSink* record);
    ~PrinterPageSink() override;

    bool addPage(ReportPage&& page) override;
    void finish();
    int printedPages() const { return m_printed; }

private:
    QPagedPaintDevice& m_device;
    QRectF m_paper; // in device pixels
    QPainter m_painter;
    int m_first;
    int m_last;
    PageSink* m_record;
    int m_printed = 0;
};

} // namespace kv
