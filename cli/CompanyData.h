#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <memory>

namespace kv
{

struct HeadlessArgs;
class NoteStore;
class SelectionState;

namespace engine
{
class Database;
}

// Where a headless command reads the company data: the server of --db (or
// the setting Database) when given, else the data home's Dta/KV2001.db.
// Notes are the server's when the company data is (notes()), else the files
// below the data home.
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
    // The server's notes when reading a server, else null (the files of
    // noteDir()).
    static std::unique_ptr<NoteStore> notes(const HeadlessArgs& args);
    // 0, or 2 after a line on err when the selection asks for notes that
    // are not there to read (neither a data home nor a server).
    static int checkNotes(const HeadlessArgs& args, const SelectionState& state,
                          const QString& command, QTextStream& err);
    // What the command's output must not be: the data home's database
    // (read or not), the notes folder (no output goes into it), the
    // selection file.
    static QStringList inputs(const HeadlessArgs& args);
};

} // namespace kv
