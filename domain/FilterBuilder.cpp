#include "domain/FilterBuilder.h"

#include "core/Error.h"
#include "domain/NoteCondition.h"
#include "domain/NoteStore.h"
#include "domain/SelectionState.h"
#include "domain/StatementRunner.h"
#include "domain/TextLines.h"

#include <memory>

namespace kv
{

namespace
{

const FilterBuilder::IndexTable NameTable{"select distinct(peno) from slnazev_p where id=",
                                          "slnazev_p",
                                          "id",
                                          "select distinct(peno) from slnazev_p where ",
                                          ") ",
                                          " ",
                                          "(peno=0)"};
const FilterBuilder::IndexTable StreetTable{"select distinct(peno) from slUlice_p where id=",
                                            "slulice_p",
                                            "id",
                                            "select distinct(peno) from slUlice_p where ",
                                            ") ",
                                            " ",
                                            "((peno=0))"};
const FilterBuilder::IndexTable IndustryTable{"select distinct(peno) from pZatrid where kod=",
                                              "pzatrid",
                                              "kod",
                                              "select distinct(peno) from pZatrid where ",
                                              ")",
                                              "",
                                              "((peno=0))"};
const FilterBuilder::IndexTable KeywordTable{"select distinct(peno) from slRadky_p where id=",
                                             "slradky_p",
                                             "id",
                                             "select distinct(peno) from slRadky_p where ",
                                             ") ",
                                             " ",
                                             "((peno=0))"};

// Keys go into statements and filters unquoted, so only whole numbers may
// pass; anything else (a damaged selection file) would change the statement.
qint64 numericKey(const QString& id)
{
    qint64 value = 0;
    if (!textlines::parseInt(id, &value))
        throw Error::selection(
            QStringLiteral("The criterion key \"%1\" is not a whole number.").arg(id.left(40)));
    return value;
}

QString numericKeys(const CriterionValueList& list)
{
    list.count();
    QStringList keys;
    for (const QString& id : list.Ids)
        keys << QString::number(numericKey(id));
    return keys.join(u',');
}

QString joinNumbers(const PenoList& numbers)
{
    QString text;
    text.reserve(numbers.size() * 8);
    for (qint64 n : numbers) {
        if (!text.isEmpty())
            text += u',';
        text += QString::number(n);
    }
    return text;
}

} // namespace

FilterBuilder::FilterBuilder(StatementRunner& runner, QString noteDir)
    : m_runner(runner), m_noteDir(std::move(noteDir))
{
}

FilterBuilder::FilterBuilder(StatementRunner& runner, NoteStore& notes)
    : m_runner(runner), m_notes(&notes)
{
}

engine::Filter FilterBuilder::noteCondition()
{
    if (!m_notes)
        return NoteCondition(m_noteDir);
    auto penos = std::make_shared<engine::Filter::Numbers>(m_notes->firmsWithNotes());
    // As with the files: no note anywhere leaves the condition out.
    if (penos->empty())
        return engine::Filter();
    return engine::Filter::numberList(QStringLiteral("peno"), std::move(penos));
}

engine::Filter FilterBuilder::nameCondition(const CriterionValueList& list)
{
    return indexCondition(NameTable, list);
}

engine::Filter FilterBuilder::streetCondition(const CriterionValueList& list)
{
    return indexCondition(StreetTable, list);
}

engine::Filter FilterBuilder::industryCondition(const CriterionValueList& list)
{
    return indexCondition(IndustryTable, list);
}

engine::Filter FilterBuilder::keywordCondition(const CriterionValueList& list)
{
    return indexCondition(KeywordTable, list);
}

engine::Filter FilterBuilder::indexCondition(const IndexTable& table,
                                             const CriterionValueList& list)
{
    if (list.count() == 0)
        return engine::Filter();
    const QString joiner = list.IsAnd ? QStringLiteral(" And ") : QStringLiteral(" Or ");

    QList<qint64> keys;
    keys.reserve(list.Ids.size());
    for (const QString& id : list.Ids)
        keys << numericKey(id);
    const StatementRunner::ValueIndex index{table.perValuePrefix, table.table, table.keyField};
    // Only the lists that found firms reach the combining statement: "peno
    // in ()" is refused by the engine.
    const auto combining = [&](const QList<PenoList>& lists) {
        QString text = QLatin1String(table.combiningPrefix);
        for (qsizetype i = 0; i < lists.size(); ++i) {
            text += QStringLiteral("peno in (") + joinNumbers(lists.at(i)) +
                    QLatin1String(table.termEnd);
            if (i + 1 < lists.size())
                text += joiner + QLatin1String(table.separatorTail);
        }
        return text;
    };
    const PenoList result = m_runner.firmsOfRow(index, keys, list.IsAnd, combining);
    // No firm satisfies the row (a key of an and-row without firms, none in
    // common, no key of an or-row with any): the row matches nothing (left
    // empty, it would stop restricting the set at all).
    if (result.isEmpty())
        return QString(QLatin1String(table.neverTrue));
    // "(peno in (...))" with the numbers carried, spelled only when asked for.
    return engine::Filter::numberList(
        QStringLiteral("peno"),
        std::make_shared<const engine::Filter::Numbers>(result.begin(), result.end()));
}

engine::Filter FilterBuilder::buildFilterWithSets(const SelectionState& s)
{
    using Row = SelectionState::Row;
    const QString joiner = s.rgLogMezi == 1 ? QStringLiteral(" And ") : QStringLiteral(" Or ");
    engine::Filter filter;
    const auto append = [&](const engine::Filter& condition) {
        if (!condition.isEmpty())
            filter += condition + joiner;
    };
    const auto keyList = [&](Row r, const char* head) {
        if (s.row(r).count() == 0)
            return QString();
        return QLatin1String(head) + numericKeys(s.row(r)) + QStringLiteral("))");
    };

    append(nameCondition(s.row(Row::Nazev)));
    append(streetCondition(s.row(Row::Ulice)));
    append(industryCondition(s.row(Row::Zatrid)));
    // Towns, districts and company numbers are always alternatives.
    append(keyList(Row::Misto, "(misto_id in("));
    append(keyList(Row::Okres, "(Okres_id in("));
    append(keyList(Row::Ico, "(peno in("));
    append(keywordCondition(s.row(Row::Radky)));
    if (s.cbPozn)
        append(noteCondition());
    if (s.cbEmail)
        append(QStringLiteral("(email is not null)"));
    if (s.cbWWW)
        append(QStringLiteral("(www is not null)"));

    // Drop the joiner after the last condition.
    QString skeleton = filter.skeleton();
    while (!skeleton.isEmpty() && !skeleton.endsWith(u')'))
        skeleton.chop(1);
    return engine::Filter::fromSkeleton(std::move(skeleton), filter.sets());
}

} // namespace kv
