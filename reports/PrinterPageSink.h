#pragma once

#include "reports/PageSink.h"

#include <QPainter>

class QPagedPaintDevice;
class QPrinter;

namespace kv
{

// Draws the pages of a run within a page range onto a printer or a PDF
// writer.
class PrinterPageSink : public PageSink
{
public:
    PrinterPageSink(QPrinter& printer, int firstPage, int lastPage, PageSink* record);
    // Any paged device; the page is its layout's full rectangle.
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
