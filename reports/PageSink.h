#pragma once

#include "reports/ReportPage.h"

namespace kv
{

// Where a report run puts its finished pages: the page store of a preview, a
// printer, a recording.
class PageSink
{
public:
    virtual ~PageSink() = default;
    // Returns false when no further page is wanted (the run then stops early).
    virtual bool addPage(ReportPage&& page) = 0;
};

} // namespace kv
