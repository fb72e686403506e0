#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kv
{

struct HeadlessArgs;
class SelectionState;

namespace engine
{
class Database;
}

// Where a headless command reads the company data: the server of --db (or
// the setting Database) when given, else the data home's Dta/KV2001.db.
// Notes stay files below the data home either way.
class CompanyData
{
public:
    // Opens db and writes its warnings to err. 0 when open; else the exit
    // code after a line "kvelta COMMAND: ..." on err: 2 without a data home
    // or server, 1 a missing file or a database that cannot be opened (a
    // server down, a refused login, no loaded directory).
    static int open(const HeadlessArgs& args, engine::Database& db, const QString& command,
                    QTextStream& err);
    // The data home's notes folder; empty when reading a server without a
    // data home.
    static QString noteDir(const HeadlessArgs& args);
    // 0, or 2 after a line on err when the selection asks for notes that
    // are not there to read (a server without a data home).
    static int checkNotes(const HeadlessArgs& args, const SelectionState& state,
                          const QString& command, QTextStream& err);
    // What the command's output must not be: the data home's database
    // (read or not), the notes folder (no output goes into it), the
    // selection file.
    static QStringList inputs(const HeadlessArgs& args);
};

} // namespace kv
