#pragma once

#include "printing/PageSink.h"

#include <QPainter>

class QPrinter;

namespace kv
{

// Draws the pages of a run within a page range onto a printer (or PDF file).
class PrinterPageSink : public PageSink
{
public:
    PrinterPageSink(QPrinter& printer, int firstPage, int lastPage, PageSink* record);
    ~PrinterPageSink() override;

    bool addPage(ReportPage&& page) override;
    void finish();
    int printedPages() const { return m_printed; }

private:
    QPrinter& m_printer;
    QPainter m_painter;
    int m_first;
    int m_last;
    PageSink* m_record;
    int m_printed = 0;
};

} // namespace kv
