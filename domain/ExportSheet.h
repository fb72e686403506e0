#pragma once

#include "core/SafeFileWriter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace kv
{

// Exported firms as a table for spreadsheets: a header row and one row of
// cells per firm, written as CSV or as an xlsx workbook.
struct ExportSheet {
    QStringList header;
    std::vector<QStringList> rows;
    // Columns (by index) whose cells are numbers; the others stay text, so
    // an IČO keeps its leading zeros.
    std::vector<bool> numeric;

    bool isNumeric(qsizetype column) const
    {
        return column >= 0 && size_t(column) < numeric.size() && numeric[size_t(column)];
    }

    // UTF-8 with a byte-order mark, the header first, CR LF after each row;
    // a field holding the separator, a quote or a line break is quoted, its
    // quotes doubled (RFC 4180).
    QByteArray csv(const QString& separator) const;
    static QString csvField(const QString& value, const QString& separator);

    // One sheet, the header row first. The workbook goes to a draft beside
    // path that SafeFileWriter makes the file. Throws Error::file.
    void writeXlsx(const QString& path, const SafeFileWriter::Options& options) const;
};

} // namespace kv
