#include "engine/TableCursor.h"

#include "core/Error.h"
#include "engine/BoundStatement.h"
#include "engine/Database.h"
#include "engine/JetDialect.h"
#include "engine/KeySetFilter.h"
#include "engine/RankOrder.h"
#include "engine/Schema.h"
#include "engine/Statement.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace kv::engine
{

TableCursor::TableCursor(Database& db, const QString& table, QObject* parent)
    : QObject(parent), m_db(db), m_table(&JetDialect::knownTable(table))
{
}

TableCursor::~TableCursor()
{
    if (m_master)
        m_master->m_details.removeAll(this);
    // Details of a vanished master fall back to unlinked cursors.
    for (TableCursor* d : std::as_const(m_details)) {
        d->m_master = nullptr;
        d->m_linkFields.clear();
    }
}

QString TableCursor::tableName() const
{
    return m_table->name;
}

void TableCursor::setSort(const QString& sort)
{
    // Rejects a bad list before touching anything.
    const std::vector<SortTerm> terms = JetDialect::sortList(m_table->name, sort);
    if (m_open && m_linkFields.isEmpty() && sortsInMemory(terms)) {
        // The set is the same: its rows are put in the new order, and the
        // filter is not run again (a million firms re-sort in milliseconds).
        std::optional<std::vector<qint64>> whole = wholeTableInOrder(terms);
        std::vector<qint64> rows = whole ? *std::move(whole) : m_rows;
        if (!whole)
            sortByRanks(rows, terms);
        m_sort = sort;
        finishRun(rows);
        return;
    }
    const QString old = m_sort;
    m_sort = sort;
    try {
        if (m_open)
            run();
    } catch (...) {
        m_sort = old;
        throw;
    }
}

void TableCursor::setFilter(const QString& filter)
{
    setFilter(Filter(filter), m_filtered);
}

void TableCursor::setFilter(const Filter& filter)
{
    setFilter(filter, m_filtered);
}

void TableCursor::setFiltered(bool on)
{
    setFilter(m_filter, on);
}

void TableCursor::setFilter(const QString& filter, bool on)
{
    setFilter(Filter(filter), on);
}

void TableCursor::setFilter(const Filter& filter, bool on)
{
    const Filter oldFilter = m_filter;
    const bool oldOn = m_filtered;
    m_filter = filter;
    m_filtered = on;
    try {
        if (m_open)
            run();
    } catch (...) {
        m_filter = oldFilter;
        m_filtered = oldOn;
        throw;
    }
}

void TableCursor::setMaster(TableCursor* master, const QString& linkFields)
{
    QStringList links;
    if (master) {
        if (master == this)
            throw Error::engine(QStringLiteral("A cursor cannot be its own master"));
        for (const QString& f : linkFields.split(u';', Qt::SkipEmptyParts))
            links << JetDialect::knownField(*m_table, f.trimmed()).name;
        if (links.isEmpty())
            throw Error::engine(QStringLiteral("No link fields for %1").arg(m_table->name));
    }
    if (m_master)
        m_master->m_details.removeAll(this);
    m_master = master;
    m_linkFields = links;
    if (master)
        master->m_details.append(this);
    if (m_open)
        run();
}

void TableCursor::addCalculatedField(const QString& name)
{
    if (m_open)
        throw Error::engine(QStringLiteral("Calculated fields must be added before opening"));
    m_calcNames << name;
}

void TableCursor::open()
{
    if (m_open)
        return;
    prepareReads();
    m_epoch = m_db.versionEpoch();
    m_open = true;
    try {
        run();
    } catch (...) {
        close();
        throw;
    }
}

void TableCursor::prepareReads()
{
    // A server's table carries its row id column beside its own: named
    // columns leave it out of the record.
    QString columns = QStringLiteral("*");
    if (m_db.isServer()) {
        QStringList quoted;
        for (const QString& c : m_db.columnNames(m_table->name))
            quoted << JetDialect::quoted(c);
        columns = quoted.join(QStringLiteral(", "));
    }
    auto fetch = std::make_unique<Statement>(
        m_db, QStringLiteral("SELECT %1 FROM %2 WHERE %3=%4")
                  .arg(columns, JetDialect::quoted(m_table->name), m_db.rowIdColumn(),
                       JetDialect::parameter(m_db.sqlForm(), 1)));
    std::unique_ptr<Statement> block;
    if (m_db.isServer())
        block = std::make_unique<Statement>(
            m_db, QStringLiteral("SELECT %1, %3 FROM %2 WHERE %3 = any($1::bigint[])")
                      .arg(columns, JetDialect::quoted(m_table->name), m_db.rowIdColumn()));
    QStringList names;
    for (int c = 0; c < fetch->columnCount(); ++c)
        names << fetch->columnName(c);
    names << m_calcNames;
    m_fields = std::make_shared<const FieldSet>(names);
    m_fetch = std::move(fetch);
    m_block = std::move(block);
}

bool TableCursor::stale() const
{
    return m_open && m_epoch != m_db.versionEpoch();
}

void TableCursor::catchUp()
{
    if (stale())
        run();
}

void TableCursor::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_rows.clear();
    m_index = -1;
    m_eof = m_bof = true;
    m_current = Record();
    m_cache.clear();
    m_list.reset();
    m_listSql.clear();
    m_fetch.reset();
    m_block.reset();
    for (TableCursor* d : std::as_const(m_details))
        d->followMaster();
}

void TableCursor::refresh()
{
    if (m_open)
        run();
}

bool TableCursor::sortsInMemory(const std::vector<SortTerm>& terms) const
{
    if (terms.empty() || terms.size() > RankOrder::kMaxTerms)
        return false;
    for (const SortTerm& t : terms)
        if (!m_db.hasRank(m_table->name, t.field))
            return false;
    return true;
}

Translated TableCursor::buildQuery(const std::vector<SortTerm>& terms, bool memorySort) const
{
    Translated q;
    const SqlForm form = m_db.sqlForm();
    const QString rowId = QStringLiteral("t.") + m_db.rowIdColumn();
    q.sql = QStringLiteral("SELECT %1 FROM %2 t").arg(rowId, JetDialect::quoted(m_table->name));
    QStringList where;
    if (m_filtered && !m_filter.skeleton().trimmed().isEmpty()) {
        Translated f = JetDialect::filter(m_table->name, m_filter, QStringLiteral("t."), form);
        where << u'(' + f.sql + u')';
        for (IntSet& set : f.sets)
            if (set.param > 0)
                set.param += int(q.params.size()); // the filter's parameters follow ours
        q.params << f.params;
        q.sets = std::move(f.sets);
    }
    for (const QString& link : m_linkFields) {
        q.params << m_master->value(link);
        where << QStringLiteral("t.%1 = %2")
                     .arg(JetDialect::quoted(link),
                          JetDialect::parameter(form, int(q.params.size())));
    }
    if (!where.isEmpty())
        q.sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    if (memorySort)
        return q;
    QStringList order;
    for (const SortTerm& t : terms)
        order << JetDialect::orderTerm(*m_table->field(t.field), t.descending, QStringLiteral("t."),
                                       form);
    order << rowId;
    q.sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    return q;
}

void TableCursor::sortByRanks(std::vector<qint64>& rows, const std::vector<SortTerm>& terms) const
{
    RankOrder::sort(m_db, m_table->name, terms, rows);
}

std::optional<std::vector<qint64>>
TableCursor::wholeTableInOrder(const std::vector<SortTerm>& terms) const
{
    // The rank index already holds the order, so there is nothing to sort
    // (a large dictionary opens at once, the whole firm table re-sorts
    // without a look at each row's place).
    const bool unrestricted =
        m_linkFields.isEmpty() && (!m_filtered || m_filter.skeleton().trimmed().isEmpty());
    if (!unrestricted || terms.size() != 1 || terms[0].descending || !sortsInMemory(terms))
        return std::nullopt;
    return RankOrder::wholeTable(m_db, m_table->name, terms[0].field);
}

void TableCursor::run()
{
    if (stale())
        prepareReads(); // another version may have other columns
    std::vector<qint64> rows;
    const bool orphan = m_master && (!m_master->isOpen() || m_master->isEmpty());
    if (!orphan) {
        // Text sorts use the Czech ranks stored by finishDatabase when present:
        // an integer sort in memory instead of calling the collator per pair.
        const std::vector<SortTerm> terms = JetDialect::sortList(m_table->name, m_sort);
        const bool memorySort = sortsInMemory(terms);
        if (std::optional<std::vector<qint64>> whole = wholeTableInOrder(terms)) {
            finishRun(*whole);
            return;
        }
        const Filter::Numbers* keys = memorySort && m_filtered && m_linkFields.isEmpty()
                                          ? KeySetFilter::numbers(m_db, m_table->name, m_filter)
                                          : nullptr;
        if (keys && RankOrder::worthColumns(m_db, m_table->name, keys->size())) {
            // A long list of row keys: its rows are the keys the table has.
            rows = KeySetFilter::rows(m_db.rankColumn(m_table->name, terms[0].field), *keys);
            sortByRanks(rows, terms);
            finishRun(rows);
            return;
        }
        const Translated q = buildQuery(terms, memorySort);
        if (!q.sets.empty()) {
            BoundStatement bound(m_db, q);
            while (bound.statement().step())
                rows.push_back(bound.statement().int64(0));
        } else {
            readRows(q, rows);
        }
        if (memorySort)
            sortByRanks(rows, terms);
    }
    finishRun(rows);
}

void TableCursor::finishRun(std::vector<qint64>& rows)
{
    // The first row is read before anything else changes: rows sorted in
    // memory reach here without a statement, and a first row that cannot
    // be read (a lost server) must leave the cursor on the rows it had.
    auto old =
        std::make_tuple(std::move(m_rows), m_epoch, m_index, m_bof, m_eof, std::move(m_current));
    m_rows.swap(rows);
    m_epoch = m_db.versionEpoch();
    m_cache.clear();
    m_index = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
    try {
        loadCurrent();
    } catch (...) {
        std::tie(m_rows, m_epoch, m_index, m_bof, m_eof, m_current) = std::move(old);
        m_cache.clear(); // it held rows of the new set
        throw;
    }
    moved();
}

void TableCursor::readRows(const Translated& q, std::vector<qint64>& rows)
{
    // Detail cursors run the same statement at every move of their master.
    if (!m_list || q.sql != m_listSql) {
        m_list = std::make_unique<Statement>(m_db, q.sql);
        m_listSql = q.sql;
    }
    m_list->reset();
    m_list->clearBindings();
    for (int i = 0; i < q.params.size(); ++i)
        m_list->bind(i + 1, q.params[i]);
    try {
        while (m_list->step())
            rows.push_back(m_list->int64(0));
    } catch (...) {
        m_list->reset();
        throw;
    }
    m_list->reset();
    if (m_listSql.size() > 4096) {
        m_list.reset();
        m_listSql.clear();
    }
}

Record TableCursor::fetch(qint64 rowid) const
{
    if (const Record* hit = m_cache.object(rowid))
        return *hit;
    m_fetch->reset();
    m_fetch->bind(1, rowid);
    if (!m_fetch->step()) {
        m_fetch->reset();
        throw Error::engine(
            QStringLiteral("Row %1 of %2 disappeared").arg(rowid).arg(m_table->name));
    }
    Record row = record(*m_fetch, m_fetch->columnCount());
    m_fetch->reset();
    m_cache.insert(rowid, new Record(row));
    return row;
}

Record TableCursor::record(const Statement& row, int columns) const
{
    std::vector<QVariant> values;
    values.reserve(size_t(columns + m_calcNames.size()));
    for (int c = 0; c < columns; ++c)
        values.push_back(row.value(c));
    values.resize(size_t(m_fields->size()));
    Record record(m_fields, std::move(values));
    if (m_calc && !m_calcNames.isEmpty())
        m_calc(record);
    return record;
}

Record TableCursor::fetchAt(size_t index) const
{
    if (stale())
        throw Error::engine(QStringLiteral("the directory on the server changed; the rows of %1 "
                                           "are read again at its next move")
                                .arg(m_table->name));
    const qint64 rowid = m_rows[index];
    if (m_block && !m_cache.contains(rowid))
        prefetch(index);
    return fetch(rowid);
}

void TableCursor::prefetch(size_t index) const
{
    // Every statement to a server is a round trip: a walk or a list view
    // reads the rows ahead of it (behind it, walking backwards) in one.
    constexpr size_t kBlock = 64;
    size_t from = index;
    if (index + 1 < m_rows.size() && m_cache.contains(m_rows[index + 1]))
        from = index + 1 > kBlock ? index + 1 - kBlock : 0;
    const size_t to = std::min(m_rows.size(), from + kBlock);
    QString ids(u'{');
    for (size_t i = from; i < to; ++i)
        if (!m_cache.contains(m_rows[i]))
            ids += QString::number(m_rows[i]) + u',';
    ids[ids.size() - 1] = u'}';
    m_block->reset();
    m_block->bind(1, ids);
    const int columns = m_block->columnCount() - 1; // the row id last
    while (m_block->step())
        m_cache.insert(m_block->int64(columns), new Record(record(*m_block, columns)));
    m_block->reset();
}

void TableCursor::loadCurrent()
{
    m_current = m_index >= 0 ? fetchAt(size_t(m_index)) : Record();
}

void TableCursor::moveTo(int index, bool bof, bool eof)
{
    // Read first: a row that cannot be read leaves the cursor where it was.
    Record row = index >= 0 ? fetchAt(size_t(index)) : Record();
    const int oldIndex = m_index;
    const bool oldBof = m_bof;
    const bool oldEof = m_eof;
    Record old = std::exchange(m_current, std::move(row));
    m_index = index;
    m_bof = bof;
    m_eof = eof;
    const QList<TableCursor*> details = m_details;
    qsizetype followed = 0;
    try {
        for (TableCursor* d : details) {
            d->followMaster();
            ++followed;
        }
    } catch (...) {
        // So does a detail that cannot follow (its run left it on the rows
        // of the old row); those that followed go back with this one.
        m_index = oldIndex;
        m_current = std::move(old);
        m_bof = oldBof;
        m_eof = oldEof;
        for (qsizetype i = 0; i < followed; ++i) {
            try {
                details[i]->followMaster();
            } catch (...) {
            }
        }
        throw;
    }
    notifyMoved();
}

void TableCursor::moved()
{
    // Details first, so that whoever listens to this cursor sees them in step.
    for (TableCursor* d : std::as_const(m_details))
        d->followMaster();
    notifyMoved();
}

void TableCursor::notifyMoved()
{
    if (m_suspend > 0) {
        m_pending = true;
        return;
    }
    emit afterScroll();
}

void TableCursor::followMaster()
{
    if (m_open)
        run();
}

void TableCursor::first()
{
    catchUp();
    moveTo(m_rows.empty() ? -1 : 0, true, m_rows.empty());
}

void TableCursor::last()
{
    catchUp();
    moveTo(int(m_rows.size()) - 1, m_rows.empty(), true);
}

void TableCursor::next()
{
    catchUp();
    if (m_index + 1 >= int(m_rows.size())) {
        m_eof = true;
        return;
    }
    moveTo(m_index + 1, false, false);
}

void TableCursor::prior()
{
    catchUp();
    if (m_index <= 0) {
        m_bof = true;
        return;
    }
    moveTo(m_index - 1, false, false);
}

void TableCursor::setPosition(int position)
{
    catchUp();
    if (m_rows.empty())
        return;
    const int index = std::clamp(position, 1, int(m_rows.size())) - 1;
    if (index != m_index)
        moveTo(index, false, false);
    m_bof = m_eof = false;
}

QVariant TableCursor::value(const QString& field) const
{
    if (m_current.isValid())
        return m_current.value(field);
    if (!m_fields)
        throw Error::engine(QStringLiteral("Cursor on %1 is not open").arg(m_table->name));
    if (m_fields->indexOf(field) < 0)
        throw Error::engine(QStringLiteral("Field not found: %1").arg(field));
    return QVariant();
}

QStringList TableCursor::fieldNames() const
{
    return m_fields ? m_fields->names() : QStringList();
}

Record TableCursor::rowAt(int position) const
{
    if (position < 1 || position > int(m_rows.size()))
        return Record();
    return fetchAt(size_t(position - 1));
}

QVariant TableCursor::fieldAt(int position, const QString& field) const
{
    const Record r = rowAt(position);
    return r.isValid() ? r.value(field) : QVariant();
}

void TableCursor::suspendViews()
{
    ++m_suspend;
}

void TableCursor::resumeViews()
{
    if (m_suspend == 0 || --m_suspend > 0)
        return;
    if (m_pending) {
        m_pending = false;
        emit afterScroll();
    }
}

} // namespace kv::engine
