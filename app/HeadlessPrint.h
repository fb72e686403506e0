#pragma once

#include "data/TDM.h"
#include "selection/HeadlessArgs.h"

#include <QHash>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace kv
{

class Report;

// What the headless print commands share: their arguments
// ([--home DIR] [FILE.kvv] [--OPTION VALUE ...] -o OUT), the data module
// opened on the data home with the selection's filter on the company set
// (the whole table without a selection, in the list window's order), and
// the report written to a PDF file.
class HeadlessPrint
{
public:
    using Args = HeadlessArgs;

    // Writes why not (and usage) to err when the arguments do not fit.
    static std::optional<Args> parse(const QString& kind, const QStringList& args,
                                     const QStringList& valueOptions, const QString& usage,
                                     QTextStream& err);

    // Exit codes as the other headless commands: 0 opened, 1 the database
    // could not be opened or rejected a statement, 2 an unusable selection.
    int open(const Args& args, QTextStream& err);
    TDM& dm() { return m_dm; }

    // Generates the report into a PDF file, replacing it only once it is
    // complete: 0 written, 3 nothing to print, 5 the file could not be written.
    static int writePdf(Report& report, const QString& output, QTextStream& err);

private:
    QString m_kind;
    TDM m_dm;
};

} // namespace kv
