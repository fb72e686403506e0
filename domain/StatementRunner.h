#pragma once

#include "engine/Filter.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace kv
{

// Company numbers and index keys are 64-bit throughout: a number above 2^31
// must reach the filter unchanged.
using PenoList = QList<qint64>;

// Runs one select statement of the selection against the company database
// and returns its peno column, rows in the order the engine delivers them.
// The statement is given as its lines (the count statement has two). Errors
// of the engine are thrown to the caller.
class StatementRunner
{
public:
    // Where one criterion row looks its values up: the per-value statement is
    // perValuePrefix + key, which selects the distinct peno of `table` whose
    // `keyField` equals key.
    struct ValueIndex {
        const char* perValuePrefix;
        const char* table;
        const char* keyField;
    };

    virtual ~StatementRunner() = default;
    virtual PenoList peno(const QStringList& statementLines) = 0;

    // The firms of every key of one criterion row, in the order of `keys`:
    // what the per-value statements give. By default each statement is run
    // on its own, stopping after the first that finds no firm when
    // stopAtEmpty (the list is then shorter than keys); a runner may answer
    // all of them in one pass.
    virtual QList<PenoList> penoPerValue(const ValueIndex& index, const QList<qint64>& keys,
                                         bool stopAtEmpty)
    {
        QList<PenoList> out;
        out.reserve(keys.size());
        for (qint64 key : keys) {
            out << peno({QLatin1String(index.perValuePrefix) + QString::number(key)});
            if (stopAtEmpty && out.last().isEmpty())
                break;
        }
        return out;
    }

    // The combining statement of one criterion row, which selects from an
    // index table the firms in all (or any) of `lists`, each the result of a
    // per-value statement on that same table. By default the statement text is
    // made and run; a runner may compute the same firms from the lists instead.
    virtual PenoList combine(const std::function<QString()>& statement,
                             const QList<PenoList>& lists, bool all)
    {
        Q_UNUSED(lists);
        Q_UNUSED(all);
        return peno({statement()});
    }

    // The combining statement of one criterion row for its per-value lists
    // (those that found firms, in the row's order).
    using CombiningStatement = std::function<QString(const QList<PenoList>& lists)>;

    // The firms of one criterion row: those of every key (all) or of any,
    // empty when there are none. By default what the statements give: the
    // per-value lists (penoPerValue, stopping at a key without firms when
    // all), then, if every key of an and-row and some key of an or-row found
    // firms, `combining` of the lists run through combine. A runner may find
    // the same firms without reading every key's whole list.
    virtual PenoList firmsOfRow(const ValueIndex& index, const QList<qint64>& keys, bool all,
                                const CombiningStatement& combining)
    {
        QList<PenoList> perValue = penoPerValue(index, keys, all);
        if (all && perValue.size() < keys.size())
            return {}; // stopped at a key without firms
        QList<PenoList> lists;
        for (PenoList& firms : perValue) {
            if (firms.isEmpty()) {
                if (all)
                    return {};
                continue;
            }
            lists << std::move(firms);
        }
        if (lists.isEmpty())
            return {};
        return combine([&] { return combining(lists); }, lists, all);
    }

    // How many firms of table firma the filter keeps. By default the count
    // statement's two lines are run with the filter spelled out; a runner
    // may hand the filter's number lists to the engine as numbers instead.
    virtual qsizetype countFirms(const engine::Filter& filter)
    {
        return peno({QStringLiteral("select peno from firma where "), filter.text()}).size();
    }
};

} // namespace kv
