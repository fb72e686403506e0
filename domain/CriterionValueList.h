#pragma once

#include <QStringList>

class QIODevice;

namespace kv
{

// One criterion row of a selection: the chosen dictionary values (display
// text and key, kept parallel) and whether a firm must match all of them.
class CriterionValueList
{
public:
    QStringList Texts;
    QStringList Ids;
    bool IsAnd = true;

    // The most values a row read from a stream may hold; a larger count is
    // refused before anything is copied.
    static constexpr qsizetype MaxValues = 1000000;

    // Number of values; throws Error::selection "Index mismatch in txt and id"
    // when the two lists have drifted apart.
    int count() const;
    void clear();
    // Checks the lists as Count does, then appends one value.
    void add(const QString& text, const QString& id);
    // Removes the value at index; throws Error::selection when out of range.
    void remove(int index);
    void assign(const CriterionValueList& source);

    // Appends the list's block at the stream's position: flag, count, texts,
    // count, ids; each line Windows-1250 and ended by CR LF.
    void saveToStream(QIODevice& stream) const;
    // Reads one block from the stream's position to its end. Two lines or
    // fewer give an empty and-list. A malformed block or one of more than
    // MaxValues values throws Error::selection and leaves the list as it was.
    void loadFromStream(QIODevice& stream);
    // The same for a block already split into lines.
    void loadFromLines(const QStringList& lines);

    // Throws Error::selection for a row count above MaxValues.
    static void checkValueCount(qint64 count);

    bool operator==(const CriterionValueList&) const = default;
};

} // namespace kv
