#include "reports/PrinterPageSink.h"

#include "core/Error.h"
#include "reports/PageRenderer.h"

#include <QPagedPaintDevice>

namespace kv
{

PrinterPageSink::PrinterPageSink(QPagedPaintDevice& device, int firstPage, int lastPage,
                                 PageSink* record)
    : m_device(device), m_paper(device.pageLayout().fullRectPixels(device.logicalDpiX())),
      m_first(firstPage), m_last(lastPage), m_record(record)
{
}

PrinterPageSink::~PrinterPageSink()
{
    finish();
}

bool PrinterPageSink::addPage(ReportPage&& page)
{
    const int n = page.number;
    if (m_first > 0 && n < m_first)
        return true;
    if (m_last > 0 && n > m_last)
        return false;
    if (!m_painter.isActive()) {
        if (!m_painter.begin(&m_device))
            throw Error::report(QStringLiteral("The printer could not start the job."));
    } else if (!m_device.newPage()) {
        throw Error::report(QStringLiteral("The printer could not start a new page."));
    }
    PageRenderer::draw(m_painter, page, QRectF(QPointF(0, 0), m_paper.size()));
    ++m_printed;
    if (m_record)
        m_record->addPage(std::move(page));
    return !(m_last > 0 && n >= m_last);
}

void PrinterPageSink::finish()
{
    if (m_painter.isActive())
        m_painter.end();
}

} // namespace kv
