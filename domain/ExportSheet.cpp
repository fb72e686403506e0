#include "domain/ExportSheet.h"

#include "core/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <xlsxwriter.h>

namespace kv
{

namespace
{

// A zip archive is whole when its end record, found at the end, points at a
// central directory that ends right where the record starts.
bool isWholeZip(const QByteArray& bytes)
{
    constexpr qsizetype EndRecordSize = 22;
    const auto le32 = [&](qsizetype at) {
        return quint32(quint8(bytes[at])) | quint32(quint8(bytes[at + 1])) << 8 |
               quint32(quint8(bytes[at + 2])) << 16 | quint32(quint8(bytes[at + 3])) << 24;
    };
    const qsizetype last = bytes.size() - EndRecordSize;
    for (qsizetype at = last; at >= 0 && at >= last - 0xFFFF; --at) {
        if (le32(at) != 0x06054b50u)
            continue;
        return qsizetype(le32(at + 16)) + qsizetype(le32(at + 12)) == at;
    }
    return false;
}

} // namespace

QString ExportSheet::csvField(const QString& value, const QString& separator)
{
    const bool quote = value.contains(u'"') || value.contains(u'\r') || value.contains(u'\n') ||
                       (!separator.isEmpty() && value.contains(separator));
    if (!quote)
        return value;
    QString v = value;
    v.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + v + u'"';
}

QByteArray ExportSheet::csv(const QString& separator) const
{
    QString text;
    auto addRow = [&](const QStringList& row) {
        QStringList fields;
        for (const QString& v : row)
            fields << csvField(v, separator);
        text += fields.join(separator) + QStringLiteral("\r\n");
    };
    addRow(header);
    for (const QStringList& row : rows)
        addRow(row);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

void ExportSheet::writeXlsx(const QString& path, const SafeFileWriter::Options& options) const
{
    // The library does not report a failed write of its files, so it writes
    // into a scratch folder of its own; the bytes are checked to form a whole
    // zip archive and only then go to the target through the safe writer,
    // which checks every write and keeps the earlier file on any failure.
    SafeFileWriter::target(path, options); // refused before any work
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw Error::file(path, QStringLiteral("cannot create a temporary folder: ") +
                                    scratch.errorString());
    const QString draft = scratch.filePath(QStringLiteral("export.xlsx"));
    const QByteArray folder = QFile::encodeName(scratch.path());
    lxw_workbook_options wbOptions{};
    wbOptions.tmpdir = const_cast<char*>(folder.constData());
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(draft).constData(), &wbOptions);
    if (!book)
        throw Error::file(path, QStringLiteral("cannot create the workbook"));
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    for (qsizetype c = 0; c < header.size(); ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), header[c].toUtf8().constData(), bold);
    lxw_row_t r = 1;
    for (const QStringList& row : rows) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            bool number = false;
            const double value = isNumeric(c) ? row[c].toDouble(&number) : 0.0;
            if (number)
                worksheet_write_number(sheet, r, lxw_col_t(c), value, nullptr);
            else if (!row[c].isEmpty())
                worksheet_write_string(sheet, r, lxw_col_t(c), row[c].toUtf8().constData(),
                                       nullptr);
        }
        ++r;
    }
    const lxw_error rc = workbook_close(book);
    if (rc != LXW_NO_ERROR)
        throw Error::file(path, QString::fromUtf8(lxw_strerror(rc)));
    QFile made(draft);
    if (!made.open(QIODevice::ReadOnly))
        throw Error::file(path, made.errorString());
    const QByteArray bytes = made.readAll();
    if (!isWholeZip(bytes))
        throw Error::file(path, QStringLiteral("the workbook could not be written completely"));
    SafeFileWriter::write(path, bytes, options);
}

} // namespace kv
