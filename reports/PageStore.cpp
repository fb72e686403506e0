#include "reports/PageStore.h"

namespace kv
{

const ReportPage* PageStore::page(int number) const
{
    if (number < 1 || number > pageCount())
        return nullptr;
    return &m_pages[size_t(number - 1)];
}

bool PageStore::addPage(ReportPage&& page)
{
    m_pages.push_back(std::move(page));
    emit pageAdded(pageCount());
    return true;
}

void PageStore::clear()
{
    m_pages.clear();
    m_finished = false;
    emit cleared();
}

void PageStore::setFinished()
{
    m_finished = true;
    emit finished(pageCount());
}

} // namespace kv
