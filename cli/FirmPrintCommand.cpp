#include "cli/FirmPrintCommand.h"

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

const char* const ListUsage = "usage: kvelta print list [--home DIR] [FILE.kvv] "
                              "[--items tel,fax,email,www,pozn] -o OUT.pdf\n";
const char* const ProfilesUsage =
    "usage: kvelta print profiles [--home DIR] [FILE.kvv] -o OUT.pdf\n";

bool parseItems(const QString& list, FirmListReport& report, QTextStream& err)
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
            err << "kvelta print list: unknown item " << word << "\n" << ListUsage;
            return false;
        }
        report.items[size_t(found)] = true;
    }
    return true;
}

} // namespace

int printListCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    Q_UNUSED(out)
    const auto call = HeadlessPrint::parse(QStringLiteral("list"), args,
                                           {QStringLiteral("--items")}, ListUsage, err);
    if (!call)
        return 2;
    HeadlessPrint print;
    if (const int code = print.open(*call, err))
        return code;
    TableCursorSource firms(*print.dm().printFirms());
    FirmListReport list(firms);
    if (call->options.contains(QStringLiteral("--items")) &&
        !parseItems(call->options.value(QStringLiteral("--items")), list, err))
        return 2;
    PrintCursorScope scope(print.dm());
    return print.writePdf(list.report(), call->output, err);
}

int printProfilesCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    Q_UNUSED(out)
    const auto call =
        HeadlessPrint::parse(QStringLiteral("profiles"), args, {}, ProfilesUsage, err);
    if (!call)
        return 2;
    HeadlessPrint print;
    if (const int code = print.open(*call, err))
        return code;
    PrintCursorScope scope(print.dm());
    print.dm().printPersons()->open();
    ProfilePrintCursors cursors(print.dm());
    ProfileReport profiles(cursors.sources());
    return print.writePdf(profiles.report(), call->output, err);
}

} // namespace kv
