#include "cli/FindCommand.h"

#include "core/Config.h"
#include "core/Global.h"
#include "core/StringTable.h"
#include "domain/QuickFind.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/QuickFindIndex.h"

#include <QDir>
#include <QFileInfo>

namespace kv
{

namespace
{

const char* const Usage = "usage: kvelta find [--home DIR] TEXT [--limit N]\n";

// Tabs and line breaks inside a value would break the line format.
QString field(QString value)
{
    for (QChar& c : value)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return value;
}

} // namespace

std::optional<FindArgs> FindArgs::parse(const QStringList& args, QTextStream& err)
{
    FindArgs call;
    QStringList words;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--home") || a == QLatin1String("--limit")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                err << "kvelta find: " << a << " needs a value\n" << Usage;
                return std::nullopt;
            }
            const QString value = args[++i];
            if (a == QLatin1String("--home")) {
                call.home = value;
                continue;
            }
            bool ok = false;
            call.limit = value.toInt(&ok);
            if (!ok || call.limit < 1) {
                err << "kvelta find: --limit needs a number of at least 1\n" << Usage;
                return std::nullopt;
            }
        } else if (a.startsWith(QLatin1String("--"))) {
            err << "kvelta find: unknown option " << a << "\n" << Usage;
            return std::nullopt;
        } else {
            words << a;
        }
    }
    call.text = words.join(u' ').trimmed();
    if (call.text.isEmpty()) {
        err << Usage;
        return std::nullopt;
    }
    if (call.home.isEmpty())
        call.home = global().dataHome;
    if (call.home.isEmpty())
        call.home = settingsHome();
    return call;
}

int findCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const auto call = FindArgs::parse(args, err);
    if (!call)
        return 2;
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
        out.setEncoding(QStringConverter::Utf8);
        for (const engine::QuickFindRow& r : rows)
            out << r.peno << '\t' << field(r.ico) << '\t' << field(r.nazev) << '\t'
                << field(r.misto) << '\n';
        return rows.empty() ? 3 : 0;
    } catch (const std::exception& e) {
        err << "kvelta find: " << QString::fromUtf8(e.what()) << "\n";
        return 1;
    }
}

} // namespace kv
