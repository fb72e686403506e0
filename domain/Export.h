#pragma once

// Writes a company set to a delimited text file: one line per firm, the
// chosen items each followed by the separator, the contact person (the
// firm's person with sortno 1) last and left out entirely when there is
// none, CR LF after every line, Windows-1250 bytes, no quoting. That is the
// default format; for today's spreadsheets the same firms go to a CSV file
// or an xlsx workbook instead (ExportSheet), each with a header row and the
// firm's number and IČO in front.

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

namespace kv
{

class DataModule;
namespace engine
{
class Database;
class TableCursor;
} // namespace engine

// Items in the order they enter a line.
enum class ExportItem { Nazev, Ulice, Misto, Psc, Okres, Tel, Fax, Email, Www, Osoba };
constexpr int ExportItemCount = 10;

enum class ExportFormat {
    Text, // Windows-1250, the separator after every item, no quoting
    Csv,  // UTF-8 with a byte-order mark, RFC 4180 quoting, CR LF, header row
    Xlsx, // Office Open XML workbook, one sheet, header row
};

struct ExportChoice {
    // The window's designed state: name, street, town and postcode.
    std::array<bool, ExportItemCount> items{true, true, true, true};
    QString separator = QStringLiteral("\t");
    ExportFormat format = ExportFormat::Text;

    bool has(ExportItem item) const { return items[size_t(item)]; }
    void set(ExportItem item, bool on) { items[size_t(item)] = on; }
    // The separator of a choice of the separator group: 0 ";", 1 tab, 2 the
    // other text (any length, also empty); anything else gives none.
    static QString separatorFor(int groupItem, const QString& other);
    // The firma field of an item (empty for the contact person).
    static QString fieldOf(ExportItem item);
    // The text id of an item's name (the export window's check box).
    static int textIdOf(ExportItem item);
};

class TextExport
{
public:
    static constexpr int Limit = 5000;

    enum class Status { Written, Cancelled, TooMany, WriteFailed };
    struct Result {
        Status status = Status::Written;
        int lines = 0;
        QString error; // WriteFailed: names the file and the reason
    };
    // Called after each line is built, with lines done and the total; false
    // cancels the export, and nothing is written.
    using Progress = std::function<bool(int done, int total)>;

    // Exports the open cursor from its first row. The file is replaced only
    // once every line is ready and written in full, so a cancelled or failed
    // export leaves an existing file as it was. inputs are the files the
    // export reads (database, selection file), which path must not be.
    static Result run(engine::Database& db, engine::TableCursor& firms, const ExportChoice& choice,
                      const QString& path, const Progress& progress = {},
                      const QStringList& inputs = {});

    // Exports the current company set through the print cursor; the open
    // database is never the output.
    static Result run(DataModule& dm, const ExportChoice& choice, const QString& path,
                      const Progress& progress = {});

    // The cells of one firm for the CSV and xlsx formats: firm number, IČO,
    // then the chosen items (an empty contact person when there is none).
    static QStringList cells(engine::Database& db, engine::TableCursor& firms,
                             const ExportChoice& choice);
    // The header row of those formats in the program's language.
    static QStringList header(const ExportChoice& choice);

    // The text of one firm's line, without its line end.
    static QString line(engine::Database& db, engine::TableCursor& firms,
                        const ExportChoice& choice);
};

} // namespace kv
