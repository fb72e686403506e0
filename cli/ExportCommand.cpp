#include "cli/ExportCommand.h"

#include "cli/CommandCall.h"
#include "cli/CommandLine.h"
#include "cli/CommandSyntax.h"
#include "cli/CompanyData.h"
#include "cli/HeadlessArgs.h"
#include "cli/LoadSelectionReporting.h"
#include "core/Config.h"
#include "core/Error.h"
#include "core/SafeFileWriter.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/EngineStatementRunner.h"
#include "domain/Export.h"
#include "domain/FilterBuilder.h"
#include "domain/NoteStore.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionRecord.h"
#include "domain/SelectionState.h"
#include "engine/Database.h"
#include "engine/TableCursor.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace kv
{

namespace
{

struct Invocation {
    HeadlessArgs common;
    ExportChoice choice;
};

bool parseItems(const QString& list, ExportChoice& choice, QTextStream& err)
{
    static const char* const names[ExportItemCount] = {"nazev", "ulice", "misto", "psc", "okres",
                                                       "tel",   "fax",   "email", "www", "osoba"};
    choice.items.fill(false);
    const QStringList words = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& w : words) {
        int found = -1;
        for (int i = 0; i < ExportItemCount; ++i)
            if (w.trimmed().compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
                found = i;
        if (found < 0) {
            err << "kvelta export: unknown item " << w << "\n";
            return false;
        }
        choice.items[size_t(found)] = true;
    }
    return true;
}

std::optional<Invocation> parse(const cli::CommandCall& command)
{
    QTextStream& err = command.err();
    const HeadlessArgs common = HeadlessArgs::from(command);
    Invocation call;
    call.common = common;
    if (command.isSet(QStringLiteral("items")) &&
        !parseItems(command.value(QStringLiteral("items")), call.choice, err))
        return std::nullopt;
    if (command.isSet(QStringLiteral("format"))) {
        const QString f = command.value(QStringLiteral("format"));
        if (f == QLatin1String("csv")) {
            call.choice.format = ExportFormat::Csv;
            call.choice.separator = QStringLiteral(","); // RFC 4180 unless told otherwise
        } else if (f == QLatin1String("xlsx")) {
            call.choice.format = ExportFormat::Xlsx;
        } else if (f != QLatin1String("text")) {
            err << "kvelta export: unknown format " << f << " (text, csv or xlsx)\n";
            return std::nullopt;
        }
    }
    if (command.isSet(QStringLiteral("separator"))) {
        const QString s = command.value(QStringLiteral("separator"));
        if (s == QLatin1String("semicolon"))
            call.choice.separator = ExportChoice::separatorFor(0, {});
        else if (s == QLatin1String("tab"))
            call.choice.separator = ExportChoice::separatorFor(1, {});
        else
            call.choice.separator = ExportChoice::separatorFor(2, s);
        // An empty separator would glue the fields of a line together.
        if (call.choice.separator.isEmpty()) {
            err << "kvelta export: the separator must not be empty "
                   "(semicolon, tab or a text)\n";
            return std::nullopt;
        }
    }
    return call;
}

} // namespace

int exportCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return cli::runCommand(QStringList{QStringLiteral("export")} + args, out, err);
}

namespace cli
{

void declareExport(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral(
        "Writes the selected firms (at most 5000) to a text file, one firm a line."));
    HeadlessArgs::declareHome(syntax);
    HeadlessArgs::declareSelection(syntax, false);
    syntax.addOption(
        {QStringLiteral("items")},
        QStringLiteral("comma-separated: nazev,ulice,misto,psc,okres,tel,fax,email,www,osoba "
                       "(default nazev,ulice,misto,psc)"),
        QStringLiteral("LIST"));
    syntax.addOption({QStringLiteral("separator")},
                     QStringLiteral("semicolon, tab or any other text (default tab)"),
                     QStringLiteral("S"));
    syntax.addOption({QStringLiteral("format")},
                     QStringLiteral("text (Windows-1250, the default), csv (UTF-8, RFC 4180, "
                                    "comma unless --separator) or xlsx"),
                     QStringLiteral("FORMAT"));
    HeadlessArgs::declareOutput(syntax, QStringLiteral("OUT"));
}

int runExport(const CommandCall& command)
{
    QTextStream& out = command.out();
    QTextStream& err = command.err();
    const auto call = parse(command);
    if (!call)
        return 2;
    const HeadlessArgs& args = call->common;
    std::optional<SelectionState> state;
    if (!args.selection.isEmpty()) {
        state = loadSelectionReporting(args.selection, err);
        if (!state)
            return 2;
        if (const int notes = CompanyData::checkNotes(args, *state, command.name(), err))
            return notes;
    }
    if (args.home.isEmpty() && args.database.isEmpty()) {
        err << "kvelta export: no data home (use --home DIR or --db URL)\n";
        return 2;
    }
    // The output is checked before any work: never a device, never an input.
    const QStringList inputs = CompanyData::inputs(args);
    try {
        SafeFileWriter::Options options;
        options.inputs = inputs;
        SafeFileWriter::target(args.output, options);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        err << "kvelta export: " << e.message() << "\n";
        return 5;
    }
    engine::Database db;
    if (const int failed = CompanyData::open(args, db, command.name(), err))
        return failed;
    try {
        QString filter;
        if (state) {
            EngineStatementRunner runner(db);
            const auto notes = CompanyData::notes(args);
            FilterBuilder builder = notes ? FilterBuilder(runner, *notes)
                                          : FilterBuilder(runner, CompanyData::noteDir(args));
            filter = builder.buildFilter(*state);
        }
        // The company list's cursor: its sort, the selection's filter.
        engine::TableCursor firms(db, QStringLiteral("firma"));
        firms.setSort(QStringLiteral("nazev"));
        firms.setFilter(filter, !filter.isEmpty());
        firms.open();
        const TextExport::Result r =
            TextExport::run(db, firms, call->choice, args.output, {}, inputs);
        switch (r.status) {
        case TextExport::Status::TooMany:
            err << loadStr(218).replace(QLatin1String("\r\n"), QLatin1String("\n")) << "\n";
            return 4;
        case TextExport::Status::WriteFailed:
            err << "kvelta export: " << r.error << "\n";
            return 5;
        default:
            // The count alone on standard output, as scripts read it; where
            // the firms went is for the person at the terminal.
            out << r.lines << "\n";
            err << r.lines << " firms written to "
                << QDir::toNativeSeparators(QFileInfo(args.output).absoluteFilePath()) << "\n";
            return 0;
        }
    } catch (const Error& e) {
        if (e.is(Error::Kind::Engine)) {
            err << "kvelta export: " << e.message() << "\n";
            return 1;
        }
        if (!e.is(Error::Kind::Selection))
            throw;
        err << args.selection << ": " << e.message() << "\n";
        return 2;
    }
}

} // namespace cli

} // namespace kv
