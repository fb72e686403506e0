#pragma once

#include "reports/PageSink.h"

#include <QObject>
#include <vector>

namespace kv
{

// The pages of one generated report, numbered from 1. The count grows while
// the report is generated; isFinished() tells when it is final.
class PageStore : public QObject, public PageSink
{
    Q_OBJECT
public:
    explicit PageStore(QObject* parent = nullptr) : QObject(parent) {}

    int pageCount() const { return int(m_pages.size()); }
    // The page of a number from 1 to pageCount(), else nullptr.
    const ReportPage* page(int number) const;
    bool isFinished() const { return m_finished; }

    bool addPage(ReportPage&& page) override;
    void clear();
    void setFinished();

signals:
    void pageAdded(int pageCount);
    void cleared();
    void finished(int pageCount);

private:
    std::vector<ReportPage> m_pages;
    bool m_finished = false;
};

} // namespace kv
