#include "cli/FindCommand.h"

#include "cli/CommandCall.h"
#include "cli/CommandLine.h"
#include "cli/CommandSyntax.h"
#include "cli/CompanyData.h"
#include "cli/HeadlessArgs.h"

#include "core/Config.h"
#include "core/Error.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/QuickFind.h"
#include "engine/Database.h"
#include "engine/PgQuickFind.h"
#include "engine/QuickFindIndex.h"
#include "engine/ServerDirectory.h"

#include <QDir>
#include <QFileInfo>

namespace kv
{

namespace
{

// Tabs and line breaks inside a value would break the line format.
QString field(QString value)
{
    for (QChar& c : value)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return value;
}

void print(const std::vector<engine::QuickFindRow>& rows, QTextStream& out)
{
    out.setEncoding(QStringConverter::Utf8);
    for (const engine::QuickFindRow& r : rows)
        out << r.peno << '\t' << field(r.ico) << '\t' << field(r.nazev) << '\t' << field(r.misto)
            << '\n';
}

// The version's copy of the index on the server (kvelta db load makes it).
int findOnServer(const HeadlessArgs& headless, const FindArgs& args, QTextStream& out,
                 QTextStream& err)
{
    engine::Database db;
    if (const int code = CompanyData::open(headless, db, QStringLiteral("find"), err))
        return code;
    if (!engine::PgQuickFind::available(db)) {
        err << "kvelta find: quick find is not available on this server: its directory ("
            << db.describe() << ") was loaded without the quick-find index; load it again "
            << "with \"kvelta db load\"\n";
        return 1;
    }
    try {
        const auto rows = QuickFind(db, db.directory()->version()).find(args.text, args.limit);
        print(rows, out);
        return rows.empty() ? 3 : 0;
    } catch (const Error& e) {
        if (!e.is(Error::Kind::Engine))
            throw;
        err << "kvelta find: " << e.message() << "\n";
        return 1;
    }
}

} // namespace

int findCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return cli::runCommand(QStringList{QStringLiteral("find")} + args, out, err);
}

namespace cli
{

void declareFind(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral(
        "Prints the firms whose name, IČO, street or town fit TEXT, best first, one a\n"
        "line: peno, IČO, name and town separated by tabs. Case and accents do not\n"
        "matter; each word may be the beginning of a word. Exit code 3: no firm fits."));
    HeadlessArgs::declareHome(syntax);
    syntax.addOption({QStringLiteral("limit")}, QStringLiteral("at most N firms (default 50)"),
                     QStringLiteral("N"));
    syntax.addArgument(QStringLiteral("TEXT"),
                       QStringLiteral("words of a name, street or town, or an IČO's first digits"),
                       CommandSyntax::Need::Repeatable);
}

int runFind(const CommandCall& command)
{
    QTextStream& out = command.out();
    QTextStream& err = command.err();
    FindArgs args;
    args.home = command.value(QStringLiteral("home"));
    args.text = command.positional().join(u' ').trimmed();
    if (command.isSet(QStringLiteral("limit"))) {
        bool ok = false;
        args.limit = command.value(QStringLiteral("limit")).toInt(&ok);
        if (!ok || args.limit < 1)
            return command.usageError(QStringLiteral("--limit needs a number of at least 1"));
    }
    if (args.text.isEmpty())
        return command.usageError(QStringLiteral("TEXT is missing"));
    if (args.home.isEmpty())
        args.home = settings().dataHome;
    if (args.home.isEmpty())
        args.home = settingsHome();
    if (const HeadlessArgs headless = HeadlessArgs::from(command); !headless.database.isEmpty())
        return findOnServer(headless, args, out, err);
    const FindArgs* call = &args;
    if (call->home.isEmpty()) {
        err << "kvelta find: no data home (use --home DIR)\n";
        return 2;
    }
    const QString dbPath = QDir(call->home).filePath(QStringLiteral("Dta/KV2001.db"));
    if (!QFileInfo(dbPath).isFile()) {
        err << "kvelta find: " << dbPath << ": " << loadStr(18) << "\n";
        return 1;
    }
    try {
        engine::Database db(dbPath, engine::Database::Mode::ReadOnly);
        const QString schema =
            engine::QuickFindIndex::attach(db, engine::QuickFindIndex::defaultCacheDir());
        const auto rows = QuickFind(db, schema).find(call->text, call->limit);
        print(rows, out);
        return rows.empty() ? 3 : 0;
    } catch (const std::exception& e) {
        err << "kvelta find: " << QString::fromUtf8(e.what()) << "\n";
        return 1;
    }
}

} // namespace cli

} // namespace kv
