#pragma once

#include "cli/HeadlessArgs.h"
#include "core/SafeFileWriter.h"
#include "domain/DataModule.h"

#include <QTextStream>

namespace kv
{

class Report;

// What the headless print commands share: the data module
// opened on the data home with the selection's filter on the company set
// (the whole table without a selection, in the list window's order), and
// the report written to a PDF file.
class HeadlessPrint
{
public:
    using Args = HeadlessArgs;

    // Exit codes as the other headless commands: 0 opened, 1 the database
    // could not be opened or rejected a statement, 2 an unusable selection.
    int open(const Args& args, QTextStream& err);
    DataModule& dm() { return m_dm; }

    // A further file the command reads (a label file), which the output
    // must not be; before open, which refuses such an output early.
    void addInput(const QString& path);

    // Generates the report into a PDF file, replacing it only once it is
    // complete: 0 written, 3 nothing to print, 5 the file could not be
    // written or is refused (not a regular file, one of the inputs).
    int writePdf(Report& report, const QString& output, QTextStream& err);

private:
    SafeFileWriter::Options m_options;
    DataModule m_dm;
};

} // namespace kv
