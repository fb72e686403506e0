#include "cli/FirmPrintCommand.h"

#include "cli/CommandCall.h"
#include "cli/CommandLine.h"
#include "cli/CommandSyntax.h"
#include "cli/HeadlessPrint.h"
#include "domain/PrintCursorScope.h"
#include "reports/FirmListReport.h"
#include "reports/ProfilePrintCursors.h"
#include "reports/ProfileReport.h"
#include "reports/TableCursorSource.h"

namespace kv
{

namespace
{

// False after saying which word is not an item.
bool parseItems(const QString& list, FirmListReport& report, const cli::CommandCall& call)
{
    static const char* const names[FirmListReport::ItemCount] = {"tel", "fax", "email", "www",
                                                                 "pozn"};
    report.items.fill(false);
    for (const QString& word : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        int found = -1;
        for (int i = 0; i < FirmListReport::ItemCount; ++i)
            if (word.trimmed().compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
                found = i;
        if (found < 0) {
            call.usageError(QStringLiteral("unknown item %1").arg(word));
            return false;
        }
        report.items[size_t(found)] = true;
    }
    return true;
}

} // namespace

int printListCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return cli::runCommand(QStringList{QStringLiteral("print"), QStringLiteral("list")} + args, out,
                           err);
}

int printProfilesCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return cli::runCommand(QStringList{QStringLiteral("print"), QStringLiteral("profiles")} + args,
                           out, err);
}

namespace cli
{

void declarePrintList(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral("Prints the company list of the selected firms to a PDF file,\n"
                                   "the same pages as the preview."));
    HeadlessArgs::declareHome(syntax);
    HeadlessArgs::declareSelection(syntax, false);
    syntax.addOption({QStringLiteral("items")},
                     QStringLiteral("list lines, comma-separated: tel,fax,email,www,pozn "
                                    "(default: name and address only)"),
                     QStringLiteral("LIST"));
    HeadlessArgs::declareOutput(syntax, QStringLiteral("OUT.pdf"));
}

int runPrintList(const CommandCall& call)
{
    const HeadlessArgs args = HeadlessArgs::from(call);
    HeadlessPrint print;
    if (const int code = print.open(args, call.err()))
        return code;
    TableCursorSource firms(*print.dm().printFirms());
    FirmListReport list(firms);
    list.notes = &print.dm().notes();
    if (call.isSet(QStringLiteral("items")) &&
        !parseItems(call.value(QStringLiteral("items")), list, call))
        return 2;
    PrintCursorScope scope(print.dm());
    return print.writePdf(list.report(), args.output, call.err());
}

void declarePrintProfiles(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral("Prints the profiles of the selected firms to a PDF file,\n"
                                   "the same pages as the preview."));
    HeadlessArgs::declareHome(syntax);
    HeadlessArgs::declareSelection(syntax, false);
    HeadlessArgs::declareOutput(syntax, QStringLiteral("OUT.pdf"));
}

int runPrintProfiles(const CommandCall& call)
{
    const HeadlessArgs args = HeadlessArgs::from(call);
    HeadlessPrint print;
    if (const int code = print.open(args, call.err()))
        return code;
    PrintCursorScope scope(print.dm());
    print.dm().printPersons()->open();
    ProfilePrintCursors cursors(print.dm());
    ProfileReport profiles(cursors.sources());
    return print.writePdf(profiles.report(), args.output, call.err());
}

} // namespace cli

} // namespace kv
