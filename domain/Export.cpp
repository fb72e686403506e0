#include "domain/Export.h"

#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/SafeFileWriter.h"
#include "domain/DataModule.h"
#include "engine/QueryCursor.h"
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

QString TextExport::line(engine::Database& db, engine::TableCursor& firms,
                         const ExportChoice& choice)
{
    QString text;
    for (int i = 0; i < int(ExportItem::Osoba); ++i) {
        if (choice.items[size_t(i)])
            text += firms.text(ExportChoice::fieldOf(ExportItem(i))) + choice.separator;
    }
    if (choice.has(ExportItem::Osoba)) {
        engine::QueryCursor q(db);
        q.setSql(
            {QStringLiteral("select osoba from osoby "),
             QStringLiteral("where peno=") + QString::number(firms.int64(QStringLiteral("peno"))),
             QStringLiteral("  and sortno=1 ")});
        q.open();
        q.first();
        if (!q.eof())
            text += q.text(QStringLiteral("osoba")) + choice.separator;
        q.close();
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
    firms.first();
    while (!firms.eof()) {
        const QString text = line(db, firms, choice);
        if (progress && !progress(result.lines + 1, total)) {
            result.status = Status::Cancelled;
            return result;
        }
        bytes += Cp1250::encode(text);
        bytes += "\r\n";
        ++result.lines;
        firms.next();
    }

    try {
        SafeFileWriter::Options options;
        options.inputs = inputs;
        SafeFileWriter::write(path, bytes, options);
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
    dm.openPrn();
    try {
        Result r =
            run(dm.db(), *dm.printFirms(), choice, path, progress, {DataModule::databasePath()});
        dm.closePrn();
        return r;
    } catch (...) {
        dm.closePrn();
        throw;
    }
}

} // namespace kv
