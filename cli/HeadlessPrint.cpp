#include "cli/HeadlessPrint.h"

#include "cli/JetImportHook.h"

#include "cli/CompanyData.h"
#include "cli/HeadlessArgs.h"
#include "cli/LoadSelectionReporting.h"
#include "core/Config.h"
#include "core/Error.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/EngineStatementRunner.h"
#include "domain/FilterBuilder.h"
#include "reports/Report.h"

#include <QDir>

namespace kv
{

int HeadlessPrint::open(const Args& args, QTextStream& err)
{
    std::optional<SelectionState> state;
    if (!args.selection.isEmpty()) {
        state = loadSelectionReporting(args.selection, err);
        if (!state)
            return 2;
    }
    if (args.home.isEmpty()) {
        err << "kvelta print: no data home (use --home DIR)\n";
        return 2;
    }
    // Notes, logos and the database are all found below the data home.
    settings().dataHome = args.home;
    settings().database = args.database; // empty: the data home's file
    m_options.inputs << CompanyData::inputs(args);
    try {
        SafeFileWriter::target(args.output, m_options); // refused before any work
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        err << "kvelta print: " << e.message() << "\n";
        return 5;
    }
    m_dm.setJetImport(jetImportHook(m_dm));
    const DataModule::OpenResult opened = m_dm.openDatabase();
    if (opened.status != DataModule::OpenStatus::Opened) {
        // The server's message names it; a file is named here.
        err << "kvelta print: "
            << (args.database.isEmpty() ? DataModule::databasePath() + QStringLiteral(": ")
                                        : QString())
            << opened.message << "\n";
        return 1;
    }
    for (const QString& warning : opened.warnings)
        err << "kvelta print: warning: " << warning << "\n";
    try {
        QString filter;
        if (state) {
            EngineStatementRunner runner(m_dm.db());
            FilterBuilder builder(runner, m_dm.notes());
            filter = builder.buildFilter(*state);
        }
        m_dm.firms()->setFilter(filter, !filter.isEmpty());
    } catch (const Error& e) {
        if (e.is(Error::Kind::Engine)) {
            err << "kvelta print: " << e.message() << "\n";
            return 1;
        }
        if (!e.is(Error::Kind::Selection))
            throw;
        err << args.selection << ": " << e.message() << "\n";
        return 2;
    }
    return 0;
}

void HeadlessPrint::addInput(const QString& path)
{
    m_options.inputs.append(path);
}

int HeadlessPrint::writePdf(Report& report, const QString& output, QTextStream& err)
{
    try {
        if (report.writePdf(output, 0, 0, m_options) == 0) {
            err << "kvelta print: nothing to print\n";
            return 3;
        }
    } catch (const Error& e) {
        // A selection fault cannot arise while writing; it is not this step's to report.
        if (e.is(Error::Kind::Selection))
            throw;
        err << "kvelta print: " << e.message() << "\n";
        return e.is(Error::Kind::Engine) ? 1 : 5;
    }
    return 0;
}

} // namespace kv
