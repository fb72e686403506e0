#pragma once

#include <QString>

class QTextStream;

namespace kv::jet
{

// Progress of a Jet import on a text stream: on a terminal one bar that is
// redrawn in place, otherwise one plain line per table (for logs and pipes).
class ImportProgressPrinter
{
public:
    ImportProgressPrinter(QTextStream& out, bool terminal, int barWidth = 30);
    // The JetImport::Progress call.
    void update(int done, int total, const QString& table, qint64 rows);

private:
    QTextStream& m_out;
    bool m_terminal;
    int m_barWidth;
    int m_lastLength = 0;
};

} // namespace kv::jet
