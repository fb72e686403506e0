#include "cli/ImportProgressPrinter.h"

#include <QTextStream>

namespace kv::jet
{

ImportProgressPrinter::ImportProgressPrinter(QTextStream& out, bool terminal, int barWidth)
    : m_out(out), m_terminal(terminal), m_barWidth(barWidth)
{
}

void ImportProgressPrinter::update(int done, int total, const QString& table, qint64 rows)
{
    if (total <= 0)
        return;
    if (!m_terminal) {
        if (done > 0)
            m_out
                << QStringLiteral("%1/%2 %3: %4 rows\n").arg(done).arg(total).arg(table).arg(rows);
        m_out.flush();
        return;
    }
    const int filled = int(qint64(m_barWidth) * done / total);
    QString line = QStringLiteral("[%1%2] %3/%4")
                       .arg(QString(filled, u'#'), QString(m_barWidth - filled, u'.'))
                       .arg(done)
                       .arg(total);
    if (!table.isEmpty())
        line += u' ' + table;
    // Spaces wipe what a longer earlier line left on the terminal.
    const int length = int(line.size());
    if (length < m_lastLength)
        line += QString(m_lastLength - length, u' ');
    m_lastLength = length;
    m_out << u'\r' << line;
    if (done == total)
        m_out << u'\n';
    m_out.flush();
}

} // namespace kv::jet
