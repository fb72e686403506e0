#include "cli/CompanyData.h"

#include "cli/HeadlessArgs.h"
#include "core/Error.h"
#include "core/StringTable.h"
#include "domain/SelectionState.h"
#include "domain/ServerNoteStore.h"
#include "engine/Database.h"

#include <QDir>
#include <QFileInfo>

namespace kv
{

namespace
{

QString databaseFile(const HeadlessArgs& args)
{
    return QDir(args.home).filePath(QStringLiteral("Dta/KV2001.db"));
}

} // namespace

int CompanyData::open(const HeadlessArgs& args, engine::Database& db, const QString& command,
                      QTextStream& err)
{
    const QString lead = QStringLiteral("kvelta ") + command + QStringLiteral(": ");
    try {
        if (!args.database.isEmpty()) {
            db.openServer(args.database);
            return 0;
        }
        if (args.home.isEmpty()) {
            err << lead << "no data home (use --home DIR or --db URL)\n";
            return 2;
        }
        const QString path = databaseFile(args);
        if (!QFileInfo(path).isFile()) {
            err << lead << path << ": " << loadStr(18) << "\n";
            return 1;
        }
        db.open(path, engine::Database::Mode::ReadOnly);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::Engine))
            throw;
        err << lead << e.message() << "\n";
        return 1;
    }
    for (const QString& warning : db.rankWarnings())
        err << lead << "warning: " << warning << "\n";
    return 0;
}

QString CompanyData::noteDir(const HeadlessArgs& args)
{
    return args.home.isEmpty() ? QString() : QDir(args.home).filePath(QStringLiteral("Pozn"));
}

std::unique_ptr<NoteStore> CompanyData::notes(const HeadlessArgs& args)
{
    if (args.database.isEmpty())
        return nullptr;
    return std::make_unique<ServerNoteStore>(args.database, ServerNoteStore::defaultAuthor());
}

int CompanyData::checkNotes(const HeadlessArgs& args, const SelectionState& state,
                            const QString& command, QTextStream& err)
{
    if (!state.cbPozn || !args.home.isEmpty() || !args.database.isEmpty())
        return 0;
    err << "kvelta " << command
        << ": the selection asks for firms with notes, which are read below a data home "
           "(use --home DIR)\n";
    return 2;
}

QStringList CompanyData::inputs(const HeadlessArgs& args)
{
    QStringList files;
    // The data home's database also when the company data comes from a
    // server: it is still the home's, read by the next run without --db.
    if (!args.home.isEmpty())
        files << databaseFile(args) << noteDir(args);
    if (!args.selection.isEmpty())
        files << args.selection;
    return files;
}

} // namespace kv
