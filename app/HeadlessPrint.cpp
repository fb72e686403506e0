#include "app/HeadlessPrint.h"

#include "app/core/Config.h"
#include "app/core/Global.h"
#include "app/core/StringTable.h"
#include "data/engine/EngineError.h"
#include "printing/Report.h"
#include "printing/ReportError.h"
#include "selection/EngineStatementRunner.h"
#include "selection/FilterBuilder.h"
#include "selection/HeadlessArgs.h"
#include "selection/LoadSelectionReporting.h"
#include "selection/SelectionError.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QSaveFile>
#include <QTemporaryDir>

namespace kv
{

std::optional<HeadlessPrint::Args> HeadlessPrint::parse(const QString& kind,
                                                        const QStringList& args,
                                                        const QStringList& valueOptions,
                                                        const QString& usage, QTextStream& err)
{
    return HeadlessArgs::parse(QStringLiteral("print ") + kind, args, valueOptions, usage, err);
}

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
    global().dataHome = args.home;
    const TDM::OpenResult opened = m_dm.OpenDatabase();
    if (opened.status != TDM::OpenStatus::Opened) {
        err << "kvelta print: " << TDM::databasePath() << ": " << opened.message << "\n";
        return 1;
    }
    for (const QString& warning : opened.warnings)
        err << "kvelta print: warning: " << warning << "\n";
    try {
        QString filter;
        if (state) {
            EngineStatementRunner runner(m_dm.db());
            FilterBuilder builder(runner, QDir(args.home).filePath(QStringLiteral("Pozn")));
            filter = builder.BuildFilter(*state);
        }
        m_dm.TFirma->setFilter(filter, !filter.isEmpty());
    } catch (const engine::EngineError& e) {
        err << "kvelta print: " << e.message() << "\n";
        return 1;
    } catch (const SelectionError& e) {
        err << args.selection << ": " << e.message() << "\n";
        return 2;
    }
    return 0;
}

int HeadlessPrint::writePdf(Report& report, const QString& output, QTextStream& err)
{
    QTemporaryDir work;
    if (!work.isValid()) {
        err << "kvelta print: " << work.errorString() << "\n";
        return 5;
    }
    const QString draft = work.filePath(QStringLiteral("report.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(draft);
    try {
        report.printTo(printer, 0, 0);
    } catch (const ReportError& e) {
        err << "kvelta print: " << e.message() << "\n";
        return 5;
    } catch (const engine::EngineError& e) {
        err << "kvelta print: " << e.message() << "\n";
        return 1;
    }
    QFile pdf(draft);
    if (!pdf.open(QIODevice::ReadOnly)) {
        // No page was drawn, so the printer never created its file.
        err << "kvelta print: nothing to print\n";
        return 3;
    }
    QSaveFile out(output);
    if (!out.open(QIODevice::WriteOnly) || out.write(pdf.readAll()) < 0 || !out.commit()) {
        err << "kvelta print: " << output << ": " << out.errorString() << "\n";
        return 5;
    }
    return 0;
}

} // namespace kv
