#include "engine/DatabaseSetup.h"

#include "core/Error.h"
#include "engine/ColumnRanker.h"
#include "engine/CzechText.h"
#include "engine/Database.h"
#include "engine/JetDialect.h"
#include "engine/QuickFindBuild.h"
#include "engine/Schema.h"
#include "engine/Statement.h"

#include <QFile>
#include <algorithm>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace kv::engine
{

namespace
{

struct IndexSpec {
    const char* table;
    const char* columns;
};

// Link fields of the detail cursors and the keys the selection queries by.
// The index tables are read as "peno of one key": (key, peno) answers that
// from the index alone, already in peno order.
const IndexSpec kIndexes[] = {
    {"firma", "peno"},        {"firma", "misto_id"},
    {"firma", "okres_id"},    {"osoby", "peno,sortno"},
    {"reklamy", "peno"},      {"pzatrid", "peno,sortno"},
    {"pzatrid", "kod,peno"},  {"radky", "peno,kod,sortno"},
    {"slnazev_p", "id,peno"}, {"slnazev_p", "peno"},
    {"slulice_p", "id,peno"}, {"slulice_p", "peno"},
    {"slradky_p", "id,peno"}, {"slradky_p", "peno"},
    {"slico", "peno"},        {"mista", "id"},
    {"okresy", "id"},         {"zatrid", "kod"},
};

void exec(sqlite3* db, const QString& sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString reason = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        throw Error::engine(reason);
    }
}

// Lower-case column names of a table, and the INTEGER PRIMARY KEY column if any.
QStringList columnsOf(sqlite3* db, const QString& table, QString* rowidAlias = nullptr)
{
    QStringList out;
    Statement st(db,
                 QStringLiteral("SELECT lower(name), lower(type), pk FROM pragma_table_info(?)"));
    st.bind(1, table);
    int pkCount = 0;
    QString pkName;
    while (st.step()) {
        out << st.text(0);
        if (st.integer(2) > 0) {
            ++pkCount;
            if (st.text(1) == QLatin1String("integer"))
                pkName = st.text(0);
        }
    }
    if (rowidAlias)
        *rowidAlias = pkCount == 1 ? pkName : QString();
    return out;
}

// SQLite sorts an index's keys in memory runs as large as the page cache,
// then merges them from temporary files. Runs of a few megabytes stay in the
// processor's caches and cost about 40 % less processor time for millions of
// keys than the builder's large cache (measured on the 1,000,000-firm demo);
// the previous size is put back afterwards.
class SmallSortRuns
{
public:
    explicit SmallSortRuns(sqlite3* db) : m_db(db)
    {
        Statement st(db, QStringLiteral("PRAGMA cache_size"));
        m_previous = st.step() ? st.int64(0) : 0;
        exec(db, QStringLiteral("PRAGMA cache_size=-2048"));
    }
    ~SmallSortRuns()
    {
        const QByteArray sql = "PRAGMA cache_size=" + QByteArray::number(m_previous);
        sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr);
    }
    SmallSortRuns(const SmallSortRuns&) = delete;
    SmallSortRuns& operator=(const SmallSortRuns&) = delete;

private:
    sqlite3* m_db;
    qint64 m_previous = 0;
};

void createIndexes(sqlite3* db)
{
    const SmallSortRuns runs(db);
    for (const IndexSpec& index : kIndexes) {
        const QString table = QLatin1String(index.table);
        QString rowidAlias;
        const QStringList present = columnsOf(db, table, &rowidAlias);
        const QStringList cols = QString::fromLatin1(index.columns).split(u',');
        bool ok = !present.isEmpty();
        for (const QString& c : cols)
            ok = ok && present.contains(c);
        if (!ok || (cols.size() == 1 && cols[0] == rowidAlias))
            continue;
        QStringList quoted;
        for (const QString& c : cols)
            quoted << JetDialect::quoted(c);
        exec(db,
             QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2(%3)")
                 .arg(JetDialect::quoted(QStringLiteral("kv_ix_") + table + u'_' + cols.join(u'_')),
                      JetDialect::quoted(table), quoted.join(u',')));
    }
}

void createRanks(sqlite3* db, const TableInfo& table)
{
    const QString rankTable = Schema::rankTable(table.name);
    exec(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(JetDialect::quoted(rankTable)));
    const QStringList present = columnsOf(db, table.name);
    QStringList fields;
    for (const QString& f : table.rankedFields())
        if (present.contains(f))
            fields << f;
    if (fields.isEmpty())
        return;

    std::vector<qint64> rowids;
    {
        Statement st(db, QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid")
                             .arg(JetDialect::quoted(table.name)));
        while (st.step())
            rowids.push_back(st.int64(0));
    }
    std::vector<std::vector<int>> ranks;
    for (const QString& f : fields)
        ranks.push_back(ColumnRanker::ranks(db, table.name, *table.field(f), rowids.size()));

    QStringList defs{QStringLiteral("rid INTEGER PRIMARY KEY")}, marks{QStringLiteral("?")};
    for (const QString& f : fields) {
        defs << JetDialect::quoted(f) + QStringLiteral(" INTEGER");
        marks << QStringLiteral("?");
    }
    exec(db, QStringLiteral("CREATE TABLE %1(%2)")
                 .arg(JetDialect::quoted(rankTable), defs.join(QStringLiteral(", "))));
    Statement ins(db, QStringLiteral("INSERT INTO %1 VALUES(%2)")
                          .arg(JetDialect::quoted(rankTable), marks.join(u',')));
    for (size_t i = 0; i < rowids.size(); ++i) {
        ins.reset();
        ins.bind(1, rowids[i]);
        for (size_t f = 0; f < ranks.size(); ++f)
            ins.bind(int(f) + 2, qint64(ranks[f][i]));
        ins.step();
    }
    ins.reset();
    const SmallSortRuns runs(db);
    for (const QString& f : fields)
        exec(db, QStringLiteral("CREATE INDEX %1 ON %2(%3)")
                     .arg(JetDialect::quoted(rankTable + u'_' + f), JetDialect::quoted(rankTable),
                          JetDialect::quoted(f)));
}

// Ranks first, firma's first of all: the quick-find index is made from the
// firms in name order on a thread of its own while the indexes are built.
void finishSteps(sqlite3* db, bool quickFind)
{
    if (!db)
        throw Error::engine(QStringLiteral("database is not open"));
    CzechText::registerWith(db);
    std::unique_ptr<QuickFindBuild> build;
    if (quickFind) {
        // The quick-find thread takes the other core. The sorter's helper
        // threads would only add work there: they cost 40 % more processor
        // time for the same index (6.4 million keys).
        exec(db, QStringLiteral("PRAGMA threads=0"));
    }
    exec(db, QStringLiteral("BEGIN"));
    try {
        std::vector<const TableInfo*> ranked;
        for (const TableInfo& t : Schema::tables())
            if (!t.rankedFields().isEmpty() && !columnsOf(db, t.name).isEmpty())
                ranked.push_back(&t);
        std::stable_partition(ranked.begin(), ranked.end(),
                              [](const TableInfo* t) { return t->name == QLatin1String("firma"); });
        for (const TableInfo* t : ranked) {
            createRanks(db, *t);
            if (quickFind && !build && t->name == QLatin1String("firma"))
                build = std::make_unique<QuickFindBuild>(db);
        }
        if (quickFind && !build)
            build = std::make_unique<QuickFindBuild>(db);
        createIndexes(db);
        exec(db, QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    exec(db, QStringLiteral("ANALYZE"));
    if (build)
        build->finishInto(db);
}

} // namespace

bool finishDatabase(sqlite3* db, char** error)
{
    if (error)
        *error = nullptr;
    try {
        finishSteps(db, false);
        return true;
    } catch (const Error& e) {
        if (!e.is(Error::Kind::Engine))
            throw;
        if (error)
            *error = sqlite3_mprintf("%s", e.message().toUtf8().constData());
        return false;
    }
}

void prepareBulkLoad(Database& db)
{
    db.exec(QStringLiteral("PRAGMA page_size=4096; PRAGMA journal_mode=OFF; "
                           "PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE; "
                           "PRAGMA cache_size=-262144; PRAGMA temp_store=FILE; PRAGMA threads=2"));
}

void compactInto(Database& db, const QString& path)
{
    QFile::remove(path);
    Statement st(db, QStringLiteral("VACUUM INTO ?"));
    st.bind(1, path);
    st.step();
}

void finishDatabase(Database& db, const FinishOptions& options)
{
    finishSteps(db.handle(), options.quickFind);
}

} // namespace kv::engine
