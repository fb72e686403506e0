#include "engine/Database.h"

#include "core/Error.h"
#include "engine/CzechText.h"
#include "engine/JetDialect.h"
#include "engine/NumberSetFunction.h"
#include "engine/PgConnection.h"
#include "engine/PgRankTables.h"
#include "engine/RankCheckCache.h"
#include "engine/RankColumn.h"
#include "engine/RankColumnCache.h"
#include "engine/ReadTransaction.h"
#include "engine/Schema.h"
#include "engine/ServerDirectory.h"
#include "engine/Statement.h"

#include <algorithm>
#include <future>
#include <mutex>
#include <numeric>
#include <sqlite3.h>

namespace kv::engine
{

namespace
{

qint64 scalar(const Database& db, const QString& sql)
{
    Statement st(db, sql);
    return st.step() ? st.int64(0) : 0; // NULL of an empty table reads as 0
}

RowKeys rowKeys(const Database& db, const QString& table, qint64 count)
{
    // The low 32 bits of each key keep the sum clear of 64-bit overflow;
    // together with count and range a changed set of rows shows. One
    // statement each: SQLite finds either end of the rowids in the tree,
    // so only the sum decodes every row (0.17 s against 0.38 s for
    // 3,000,000 firms in one statement).
    const ReadTransaction reading(db);
    const QString t = JetDialect::quoted(table);
    RowKeys keys;
    keys.count = count;
    keys.min = scalar(db, QStringLiteral("SELECT min(rowid) FROM %1").arg(t));
    keys.max = scalar(db, QStringLiteral("SELECT max(rowid) FROM %1").arg(t));
    keys.sum = scalar(db, QStringLiteral("SELECT sum(rowid & 4294967295) FROM %1").arg(t));
    return keys;
}

} // namespace

Database::Database() = default;

Database::Database(const QString& path, Mode mode)
{
    open(path, mode);
}

Database::~Database()
{
    close();
}

const RankColumn& Database::rankColumn(const QString& table, const QString& field) const
{
    followVersion();
    const QString key = table.toLower() + u'.' + field.toLower();
    auto it = m_rankColumns.find(key);
    if (it != m_rankColumns.end())
        return *it->second;
    // A read-only connection takes the column from a copy remembered for
    // the file's very state, else reads it and remembers it; a writing
    // connection may change the file under the copy, so it always reads.
    std::optional<RankColumnCache> cache;
    std::unique_ptr<RankColumn> column;
    if (m_readOnly && !m_server) {
        cache.emplace(m_path, table.toLower(), field.toLower());
        column = cache->load(rankedRows(table));
    }
    if (!column) {
        column = std::make_unique<RankColumn>(*this, table.toLower(), field.toLower());
        if (cache)
            cache->store(*column);
    }
    return *m_rankColumns.emplace(key, std::move(column)).first->second;
}

const RankColumn* Database::loadedRankColumn(const QString& table, const QString& field) const
{
    followVersion();
    const auto it = m_rankColumns.find(table.toLower() + u'.' + field.toLower());
    return it == m_rankColumns.end() ? nullptr : it->second.get();
}

const RankColumn* Database::anyRankColumn(const QString& table) const
{
    followVersion();
    const QString prefix = table.toLower() + u'.';
    const auto it = m_rankColumns.lower_bound(prefix);
    return it != m_rankColumns.end() && it->first.startsWith(prefix) ? it->second.get() : nullptr;
}

QString Database::rowidField(const QString& table) const
{
    followVersion();
    // A server's tables carry their row id in a column of their own; the
    // field whose values are that id is what the load recorded.
    const QString key = table.toLower();
    if (m_server)
        return m_rowidFields.value(key);
    if (const auto it = m_rowidFields.constFind(key); it != m_rowidFields.constEnd())
        return *it;
    QString field;
    int keys = 0;
    Statement st(*this,
                 QStringLiteral("SELECT lower(name), lower(type), pk FROM pragma_table_info(?)"));
    st.bind(1, key);
    while (st.step())
        if (st.integer(2) > 0 && ++keys == 1 && st.text(1) == QLatin1String("integer"))
            field = st.text(0);
    if (keys != 1)
        field.clear();
    m_rowidFields.insert(key, field);
    return field;
}

void Database::setStopFlag(const std::atomic<bool>* stop)
{
    if (!m_db)
        return;
    // Asked every few thousand virtual machine steps: well under a
    // millisecond between a stop and the statement's end.
    const auto asked = [](void* flag) {
        return static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0;
    };
    sqlite3_progress_handler(m_db, stop ? 4096 : 0, stop ? +asked : nullptr,
                             const_cast<std::atomic<bool>*>(stop));
}

QString Database::lastError(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

void Database::configureLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Nothing reads SQLite's memory statistics, and keeping them takes a
        // global lock at every allocation, which a bulk load makes millions of.
        // Refused (and harmless) if the library was started before.
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    });
}

void Database::openFile(const QString& path, Mode mode)
{
    close();
    configureLibrary();
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
    case Mode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case Mode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case Mode::Create:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = lastError(db);
        sqlite3_close(db);
        throw Error::engine(reason);
    }
    m_db = db;
    m_path = path;
    m_readOnly = mode == Mode::ReadOnly;
    sqlite3_extended_result_codes(m_db, 1);
    CzechText::registerWith(m_db);
    NumberSetFunction::registerWith(m_db);
    // Temporary number sets (BoundStatement) never touch the disk.
    sqlite3_exec(m_db, "PRAGMA temp_store=MEMORY", nullptr, nullptr, nullptr);
}

void Database::open(const QString& path, Mode mode)
{
    openFile(path, mode);
    try {
        reloadCatalog(); // reading the catalogue proves the file is a database
    } catch (...) {
        close();
        throw;
    }
}

void Database::openServer(const QString& conninfo)
{
    close();
    m_path.clear();
    m_server = std::make_shared<ServerDirectory>(conninfo);
    for (const TableInfo& t : Schema::tables())
        if (m_server->hasTable(t.name))
            m_tables.insert(t.name);
    readServerRanks();
}

void Database::readServerRanks() const
{
    // The ranks the load copied from the file, trusted as the file's were
    // when it was loaded: a version never changes.
    m_rankColumns.clear();
    PgRankTables::Catalog ranks = PgRankTables::read(*this);
    m_ranks = std::move(ranks.fields);
    m_rankedRows = std::move(ranks.rows);
    m_rowidFields = std::move(ranks.rowidFields);
    m_rankEpoch = versionEpoch(); // a failed read is tried again at the next use
}

QString Database::describe() const
{
    return m_server ? m_server->describe() : m_path;
}

PgConnection& Database::server() const
{
    if (!m_server)
        throw Error::engine(QStringLiteral("the database is not on a server"));
    return m_server->connection();
}

void Database::recoverServer() const noexcept
{
    if (m_server)
        m_server->recover();
}

quint64 Database::versionEpoch() const
{
    return m_server ? m_server->versionEpoch() : 0;
}

QString Database::rowIdColumn() const
{
    return m_server ? QString::fromLatin1(ServerDirectory::rowIdColumn) : QStringLiteral("rowid");
}

QStringList Database::columnNames(const QString& table) const
{
    if (m_server)
        return m_server->columns(table);
    QStringList names;
    Statement st(*this, QStringLiteral("SELECT lower(name) FROM pragma_table_info(?)"));
    st.bind(1, table);
    while (st.step())
        names << st.text(0);
    return names;
}

void Database::close()
{
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_server.reset();
    m_readOnly = false;
    m_tables.clear();
    m_ranks.clear();
    m_rankColumns.clear();
    m_rankWarnings.clear();
    m_rankedRows.clear();
    m_rowidFields.clear();
}

void Database::exec(const QString& sql)
{
    if (m_server) {
        try {
            m_server->connection().exec(sql);
        } catch (...) {
            m_server->recover();
            throw;
        }
        return;
    }
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString reason = err ? QString::fromUtf8(err) : lastError(m_db);
        sqlite3_free(err);
        throw Error::engine(reason);
    }
}

bool Database::hasTable(const QString& name) const
{
    return m_tables.contains(name.toLower());
}

void Database::reloadCatalog()
{
    if (m_server)
        return; // a loaded version never changes
    m_tables.clear();
    m_ranks.clear();
    m_rankColumns.clear();
    m_rankWarnings.clear();
    m_rankedRows.clear();
    m_rowidFields.clear();
    // Taken before anything is read: a change made while the check runs
    // gives the file another identity, so the result is not found again.
    std::optional<RankCheckCache> cache;
    std::optional<RankCheckCache::Result> known;
    if (m_readOnly) {
        cache.emplace(m_path);
        known = cache->load();
    }
    Statement st(*this, QStringLiteral("SELECT lower(name) FROM sqlite_master WHERE type='table'"));
    while (st.step())
        m_tables.insert(st.text(0));
    RankCheckCache::Result found;
    QStringList unknown; // each table, then its rank table
    for (const TableInfo& t : Schema::tables())
        if (m_tables.contains(Schema::rankTable(t.name)) && m_tables.contains(t.name)) {
            if (known && known->contains(t.name))
                found[t.name] = known->at(t.name);
            else
                unknown << t.name << Schema::rankTable(t.name);
        }
    const std::vector<RowKeys> keys = rowKeysOf(unknown);
    for (qsizetype i = 0; i < unknown.size(); i += 2)
        found[unknown[i]] = {keys[size_t(i)], keys[size_t(i) + 1]};
    for (const TableInfo& t : Schema::tables()) {
        const auto it = found.find(t.name);
        if (it == found.end())
            continue;
        const RankCheck& check = it->second;
        if (!(check.table == check.ranked)) {
            m_rankWarnings << QStringLiteral("%1: the sort table %2 holds %3 rows, the table %4; "
                                             "sorting with the Czech collation instead.")
                                  .arg(t.name, Schema::rankTable(t.name))
                                  .arg(check.ranked.count)
                                  .arg(check.table.count);
            continue;
        }
        m_rankedRows.insert(t.name, check.ranked.count);
        Statement cols(*this, QStringLiteral("SELECT lower(name) FROM pragma_table_info('%1')")
                                  .arg(Schema::rankTable(t.name)));
        while (cols.step())
            m_ranks[t.name].insert(cols.text(0));
    }
    if (cache && found != known)
        cache->store(found);
}

std::vector<RowKeys> Database::rowKeysOf(const QStringList& tables) const
{
    // Counting is cheap (SQLite counts a table from its pages); the sum
    // decodes every row. A read-only connection shares the tables of many
    // rows out to a second connection on another thread: four tables of
    // millions of rows make most of the first open of a changed file. A
    // writing connection reads alone, as only it sees what it has not
    // committed.
    const ReadTransaction reading(*this); // counts and this side's sums alike
    std::vector<RowKeys> keys(size_t(tables.size()));
    std::vector<qint64> counts;
    qint64 total = 0;
    for (const QString& t : tables) {
        counts.push_back(
            scalar(*this, QStringLiteral("SELECT count(*) FROM %1").arg(JetDialect::quoted(t))));
        total += counts.back();
    }
    constexpr qint64 WorthASecondReader = 1000000;
    std::vector<size_t> mine, theirs;
    qint64 mineRows = 0, theirRows = 0;
    std::vector<size_t> bySize(keys.size());
    std::iota(bySize.begin(), bySize.end(), 0);
    std::sort(bySize.begin(), bySize.end(),
              [&](size_t a, size_t b) { return counts[a] > counts[b]; });
    const bool shared = m_readOnly && total >= WorthASecondReader;
    for (size_t i : bySize) {
        const bool toThem = shared && theirRows < mineRows;
        (toThem ? theirs : mine).push_back(i);
        (toThem ? theirRows : mineRows) += counts[i];
    }
    const auto read = [&tables, &keys, &counts](const Database& db,
                                                const std::vector<size_t>& which) {
        for (size_t i : which)
            keys[i] = rowKeys(db, tables[qsizetype(i)], counts[i]);
    };
    std::future<void> second;
    if (!theirs.empty())
        second = std::async(std::launch::async, [this, &read, &theirs] {
            Database other;
            other.openFile(m_path, Mode::ReadOnly);
            read(other, theirs);
        });
    try {
        read(*this, mine);
    } catch (...) {
        if (second.valid())
            second.wait(); // it writes into keys
        throw;
    }
    if (second.valid())
        second.get();
    return keys;
}

} // namespace kv::engine
