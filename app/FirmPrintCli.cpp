#include "app/FirmPrintCli.h"

#include "app/HeadlessPrint.h"
#include "printing/ProfilePrintCursors.h"
#include "printing/TFPrintProfil.h"
#include "printing/TFPrintSeznam.h"
#include "printing/TableCursorSource.h"

namespace kv
{

namespace
{

const char* const ListUsage = "usage: kvelta print list [--home DIR] [FILE.kvv] "
                              "[--items tel,fax,email,www,pozn] -o OUT.pdf\n";
const char* const ProfilesUsage =
    "usage: kvelta print profiles [--home DIR] [FILE.kvv] -o OUT.pdf\n";

bool parseItems(const QString& list, TFPrintSeznam& report, QTextStream& err)
{
    static const char* const names[TFPrintSeznam::ItemCount] = {"tel", "fax", "email", "www",
                                                                "pozn"};
    report.items.fill(false);
    for (const QString& word : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        int found = -1;
        for (int i = 0; i < TFPrintSeznam::ItemCount; ++i)
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
    TableCursorSource firms(*print.dm().TPrn);
    TFPrintSeznam list(firms);
    if (call->options.contains(QStringLiteral("--items")) &&
        !parseItems(call->options.value(QStringLiteral("--items")), list, err))
        return 2;
    print.dm().openPrn();
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
    print.dm().openPrn();
    print.dm().TOsoby_2->open();
    ProfilePrintCursors cursors(print.dm());
    TFPrintProfil profiles(cursors.sources());
    return print.writePdf(profiles.report(), call->output, err);
}

} // namespace kv
