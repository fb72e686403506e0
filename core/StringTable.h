#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace kv
{

// The program's texts: one row per id, Czech rows 1..299 and their English
// counterparts 501..799. The built-in table lives in the resource
// ":/strings.tsv", one row a line as id, TAB, text; the text escapes CR, LF,
// TAB and backslash as \r, \n, \t and \\ so that it fits one line.
class StringTable
{
public:
    // A table read from tab-separated UTF-8 text. Rows that do not parse are
    // skipped; of two rows with the same id the first one counts.
    explicit StringTable(const QByteArray& tsv);

    // The built-in table, read from the resource on first use.
    static const StringTable& instance();

    // The text of a row, or an empty text when the table has no such row.
    QString text(int row) const;
    bool contains(int row) const { return rows_.contains(row); }
    int size() const { return int(rows_.size()); }

private:
    QHash<int, QString> rows_;
};

// The text of id in the language of the settings (row settings().langBase +
// id), read at every call, so a language switch shows at once.
QString loadStr(int id);
// The text of id in the language given by its offset (0 Czech, 500 English).
QString loadStr(int id, int langBase);

} // namespace kv
