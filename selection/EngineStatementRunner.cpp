#include "selection/EngineStatementRunner.h"

namespace kv
{

QList<int> EngineStatementRunner::peno(const QStringList& statementLines)
{
    m_q.clear();
    m_q.setSql(statementLines);
    m_q.open();
    QList<int> numbers;
    numbers.reserve(m_q.recordCount());
    for (m_q.first(); !m_q.eof(); m_q.next())
        numbers << m_q.value(0).toInt();
    m_q.clear();
    return numbers;
}

} // namespace kv
