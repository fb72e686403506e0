#include "domain/Export.h"

#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/SafeFileWriter.h"
#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "domain/ExportSheet.h"
#include "domain/PrintCursorScope.h"
#include "engine/QueryCursor.h"
#include "engine/ReadTransaction.h"
#include "engine/TableCursor.h"

namespace kv
{

QString ExportChoice::separatorFor(int groupItem, const QString& other)
{
    switch (groupItem) {
    case 0:
        return QStringLiteral(";");
    case 1:
        return QStringLiteral("\t");
    case 2:
        return other;
    default:
        return QString();
    }
}

QString ExportChoice::fieldOf(ExportItem item)
{
    static const char* const names[ExportItemCount] = {"nazev", "ulice", "misto", "psc", "okres",
                                                       "tel",   "fax",   "email", "www", ""};
    return QLatin1String(names[int(item)]);
}

int ExportChoice::textIdOf(ExportItem item)
{
    static const int ids[ExportItemCount] = {22, 23, 24, 25, 26, 27, 28, 29, 30, 225};
    return ids[int(item)];
}

namespace
{

QString contactPerson(engine::Database& db, engine::TableCursor& firms, bool* found)
{
    engine::QueryCursor q(db);
    q.setSql({QStringLiteral("select osoba from osoby "),
              QStringLiteral("where peno=") + QString::number(firms.int64(QStringLiteral("peno"))),
              QStringLiteral("  and sortno=1 ")});
    q.open();
    q.first();
    *found = !q.eof();
    const QString person = *found ? q.text(QStringLiteral("osoba")) : QString();
    q.close();
    return person;
}

} // namespace

QStringList TextExport::header(const ExportChoice& choice)
{
    QStringList h{loadStr(289), loadStr(283)};
    for (int i = 0; i < ExportItemCount; ++i)
        if (choice.items[size_t(i)])
            h << loadStr(ExportChoice::textIdOf(ExportItem(i)));
    return h;
}

QStringList TextExport::cells(engine::Database& db, engine::TableCursor& firms,
                              const ExportChoice& choice)
{
    QStringList c{QString::number(firms.int64(QStringLiteral("peno"))),
                  firms.text(QStringLiteral("ico"))};
    for (int i = 0; i < int(ExportItem::Osoba); ++i)
        if (choice.items[size_t(i)])
            c << firms.text(ExportChoice::fieldOf(ExportItem(i)));
    if (choice.has(ExportItem::Osoba)) {
        bool found = false;
        c << contactPerson(db, firms, &found);
    }
    return c;
}

QString TextExport::line(engine::Database& db, engine::TableCursor& firms,
                         const ExportChoice& choice)
{
    QString text;
    for (int i = 0; i < int(ExportItem::Osoba); ++i) {
        if (choice.items[size_t(i)])
            text += firms.text(ExportChoice::fieldOf(ExportItem(i))) + choice.separator;
    }
    if (choice.has(ExportItem::Osoba)) {
        bool found = false;
        const QString person = contactPerson(db, firms, &found);
        if (found)
            text += person + choice.separator;
    }
    return text;
}

TextExport::Result TextExport::run(engine::Database& db, engine::TableCursor& firms,
                                   const ExportChoice& choice, const QString& path,
                                   const Progress& progress, const QStringList& inputs)
{
    Result result;
    const int total = firms.recordCount();
    if (total > Limit) {
        result.status = Status::TooMany;
        return result;
    }
    QByteArray bytes;
    ExportSheet sheet;
    sheet.header = header(choice);
    sheet.numeric = {true};
    const engine::ReadTransaction reading(db);
    firms.first();
    while (!firms.eof()) {
        if (choice.format == ExportFormat::Text)
            bytes += Cp1250::encode(line(db, firms, choice)) + "\r\n";
        else
            sheet.rows.push_back(cells(db, firms, choice));
        if (progress && !progress(result.lines + 1, total)) {
            result.status = Status::Cancelled;
            return result;
        }
        ++result.lines;
        firms.next();
    }

    try {
        SafeFileWriter::Options options;
        options.inputs = inputs;
        switch (choice.format) {
        case ExportFormat::Text:
            SafeFileWriter::write(path, bytes, options);
            break;
        case ExportFormat::Csv:
            SafeFileWriter::write(path, sheet.csv(choice.separator), options);
            break;
        case ExportFormat::Xlsx:
            sheet.writeXlsx(path, options);
            break;
        }
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        result.status = Status::WriteFailed;
        result.error = e.message();
    }
    return result;
}

TextExport::Result TextExport::run(DataModule& dm, const ExportChoice& choice, const QString& path,
                                   const Progress& progress)
{
    // The limit holds for the set as it is now, before the print cursor runs.
    if (dm.firms()->recordCount() > Limit)
        return {Status::TooMany, 0, {}};
    PrintCursorScope scope(dm);
    return run(dm.db(), *dm.printFirms(), choice, path, progress, {DataModule::databasePath()});
}

} // namespace kv
