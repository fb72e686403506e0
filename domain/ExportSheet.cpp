#include "domain/ExportSheet.h"

#include "core/Error.h"

#include <QFile>
#include <QFileInfo>
#include <xlsxwriter.h>

namespace kv
{

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
    const QString target = SafeFileWriter::target(path, options);
    const QString draft = SafeFileWriter::draftPath(target);
    // The library's own scratch files stay beside the target too.
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
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
    if (rc != LXW_NO_ERROR) {
        QFile::remove(draft);
        throw Error::file(path, QString::fromUtf8(lxw_strerror(rc)));
    }
    SafeFileWriter::commit(draft, target, options.sync);
}

} // namespace kv
