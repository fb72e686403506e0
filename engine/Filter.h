#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>
#include <vector>

namespace kv::engine
{

// A filter in the Jet dialect whose long number lists may be carried as
// numbers rather than as text. The selection of a common name word keeps
// hundreds of thousands of firms: spelling them out as digits and reading
// them back costs more than the database's own work, so the cursor receives
// the numbers themselves. The text (what a person or a recording runner
// sees) is spelled only when asked for, and then once.
//
// Inside, the filter is a skeleton text in which each carried list stands as
// a marker (kSetOpen, its index, kSetClose) where its comma-separated numbers
// would be: "(peno in (" marker "))". The markers contain no letters, spaces,
// quotes or brackets, so text operations on the skeleton (cutting a tail,
// wrapping in brackets, appending a condition) keep the lists in place.
class Filter
{
public:
    using Numbers = std::vector<qint64>;
    using SharedNumbers = std::shared_ptr<const Numbers>;

    static constexpr char16_t kSetOpen = u'\uE000';
    static constexpr char16_t kSetClose = u'\uE001';

    Filter() = default;
    // A filter that is only text (no carried list).
    Filter(const QString& text); // NOLINT: implicit, a text is a filter

    // "(peno in (1,2,3))" carrying the numbers in the order given.
    static Filter numberList(const QString& field, SharedNumbers numbers);

    // The skeleton and the lists it names.
    static Filter fromSkeleton(QString skeleton, std::vector<SharedNumbers> sets);
    const QString& skeleton() const { return m_skeleton; }
    const std::vector<SharedNumbers>& sets() const { return m_sets; }
    bool hasSets() const { return !m_sets.empty(); }

    // The marker of list `index` as it stands in the skeleton.
    static QString marker(size_t index);

    // The whole text, every list spelled out; built on the first call.
    QString text() const;
    bool isEmpty() const { return m_skeleton.isEmpty(); }

    // This filter followed by other (its lists renumbered after ours).
    Filter operator+(const Filter& other) const;
    Filter& operator+=(const Filter& other) { return *this = *this + other; }

    // Same skeleton and the same lists (by content).
    bool operator==(const Filter& other) const;
    bool operator!=(const Filter& other) const { return !(*this == other); }

private:
    QString m_skeleton;
    std::vector<SharedNumbers> m_sets;
    mutable std::shared_ptr<QString> m_text; // spelled text, shared by copies
};

} // namespace kv::engine
