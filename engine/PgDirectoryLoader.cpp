#include "engine/PgDirectoryLoader.h"

#include "core/Error.h"
#include "engine/Database.h"
#include "engine/PgConnection.h"
#include "engine/PgCopyIn.h"
#include "engine/PgCzechCollation.h"
#include "engine/PgDirectoryVersions.h"
#include "engine/PgNoteStore.h"
#include "engine/PgQuickFindTable.h"
#include "engine/PgRankTables.h"
#include "engine/PgTransaction.h"
#include "engine/ServerDirectory.h"
#include "engine/SqliteCatalog.h"
#include "engine/Statement.h"

#include <cmath>

namespace kv::engine
{

namespace
{

// The key of the advisory lock that keeps two loads of one database apart.
constexpr qint64 LoadLockKey = 0x4b56454c5441; // "KVELTA"
constexpr qint64 ProgressEvery = 5000;

QString columnType(SqliteCatalog::Type type)
{
    switch (type) {
    case SqliteCatalog::Type::Integer:
        return QStringLiteral("bigint");
    case SqliteCatalog::Type::Real:
        return QStringLiteral("double precision");
    case SqliteCatalog::Type::Blob:
        return QStringLiteral("bytea");
    case SqliteCatalog::Type::Numeric:
        return QStringLiteral("numeric");
    case SqliteCatalog::Type::Text:
        break;
    }
    return QStringLiteral("text ") + PgCzechCollation::clause();
}

// Holds the load lock for one run; a lost connection releases it anyway.
class LoadLock
{
public:
    explicit LoadLock(PgConnection& connection) : m_connection(connection)
    {
        const PgResult got =
            connection.query(QStringLiteral("SELECT pg_try_advisory_lock($1)"), {LoadLockKey});
        if (got.text(0, 0) != QLatin1String("t"))
            throw Error::engine(QStringLiteral("another load into this database is running (%1)")
                                    .arg(connection.describe()));
    }
    ~LoadLock()
    {
        try {
            m_connection.query(QStringLiteral("SELECT pg_advisory_unlock($1)"), {LoadLockKey});
        } catch (const Error&) {
        }
    }
    LoadLock(const LoadLock&) = delete;
    LoadLock& operator=(const LoadLock&) = delete;

private:
    PgConnection& m_connection;
};

} // namespace

PgDirectoryLoader::PgDirectoryLoader(const Database& source, PgConnection& target)
    : m_source(source), m_target(target)
{
}

void PgDirectoryLoader::note(const QString& line)
{
    if (m_note)
        m_note(line);
}

qint64 PgDirectoryLoader::copyTable(const QString& schema, int index, int count,
                                    const SqliteCatalog::Table& source)
{
    // Names in lower case: SQLite ignores their case, PostgreSQL does not
    // when quoted, and the program names every table and field in lower case.
    const QString name = source.name.toLower();
    QStringList columns, definitions, selected;
    for (const SqliteCatalog::Column& c : source.columns) {
        columns << c.name.toLower();
        definitions << m_target.identifier(c.name.toLower()) + u' ' + columnType(c.type);
        selected << SqliteCatalog::quoted(c.name);
    }
    // The row's SQLite rowid, last: the program's cursors keep rows by it.
    const QString rowId = QString::fromLatin1(ServerDirectory::rowIdColumn);
    columns << rowId;
    definitions << m_target.identifier(rowId) + QStringLiteral(" bigint NOT NULL");
    selected << QStringLiteral("rowid");
    const QString target = schema + u'.' + m_target.identifier(name);
    m_target.exec(
        QStringLiteral("CREATE TABLE %1 (%2)").arg(target, definitions.join(QStringLiteral(", "))));
    if (m_progress)
        m_progress(index, count, name, 0, false);
    Statement rows(m_source, QStringLiteral("SELECT %1 FROM %2")
                                 .arg(selected.join(QStringLiteral(", ")),
                                      SqliteCatalog::quoted(source.name)));
    PgCopyIn copy(m_target, target, columns);
    qint64 copied = 0;
    std::vector<qint64> nulTexts(columns.size(), 0);
    const int rowIdAt = int(columns.size()) - 1;
    while (rows.step()) {
        for (int c = 0; c < int(columns.size()); ++c) {
            const QVariant v = rows.value(c);
            const SqliteCatalog::Type type =
                c < rowIdAt ? source.columns[size_t(c)].type : SqliteCatalog::Type::Integer;
            // SQLite keeps whatever a row was given; the server's column
            // takes only its own type, and its refusal would name no row.
            const auto refuse = [&](const QString& why) {
                return Error::engine(QStringLiteral("%1.%2, row %3: %4; the server was not changed")
                                         .arg(name, columns[c])
                                         .arg(rows.int64(rowIdAt))
                                         .arg(why));
            };
            if (v.isNull()) {
                copy.addNull();
            } else if (type == SqliteCatalog::Type::Blob) {
                copy.addBytes(v.typeId() == QMetaType::QByteArray ? v.toByteArray()
                                                                  : v.toString().toUtf8());
            } else if (v.typeId() == QMetaType::LongLong) {
                copy.add(qint64(v.toLongLong()));
            } else if (type == SqliteCatalog::Type::Integer) {
                const double d = v.toDouble();
                // A whole number stored as a real goes in; anything else
                // would lose its value.
                if (v.typeId() != QMetaType::Double || d != std::floor(d) || d < -9.2e18 ||
                    d > 9.2e18)
                    throw refuse(
                        QStringLiteral("\"%1\" is not a whole number").arg(v.toString().left(40)));
                copy.add(qint64(d));
            } else if (v.typeId() == QMetaType::Double) {
                copy.add(v.toDouble());
            } else if (type == SqliteCatalog::Type::Real || type == SqliteCatalog::Type::Numeric) {
                bool number = false;
                v.toString().trimmed().toDouble(&number);
                if (!number)
                    throw refuse(
                        QStringLiteral("\"%1\" is not a number").arg(v.toString().left(40)));
                copy.add(v.toString().trimmed());
            } else {
                // The server's texts cannot hold U+0000; such a character
                // is dropped and the table's count of them reported.
                QString text = v.toString();
                if (text.contains(QChar(0))) {
                    text.remove(QChar(0));
                    ++nulTexts[size_t(c)];
                }
                copy.add(text);
            }
        }
        copy.endRow();
        if (++copied % ProgressEvery == 0 && m_progress)
            m_progress(index, count, name, copied, false);
    }
    for (size_t c = 0; c < nulTexts.size(); ++c)
        if (nulTexts[c] > 0)
            note(QStringLiteral("%1.%2: NUL characters removed from %3 texts")
                     .arg(name, columns[int(c)])
                     .arg(nulTexts[c]));
    const qint64 taken = copy.finish();
    if (taken != copied)
        throw Error::engine(
            QStringLiteral("PostgreSQL took %1 of %2 rows of %3").arg(taken).arg(copied).arg(name));
    // Keys and indexes after the rows: one sort each instead of row by row.
    const QStringList key = source.primaryKey();
    QStringList keyColumns;
    for (const QString& k : key)
        keyColumns << m_target.identifier(k.toLower());
    if (!key.isEmpty())
        m_target.exec(QStringLiteral("ALTER TABLE %1 ADD PRIMARY KEY (%2)")
                          .arg(target, keyColumns.join(QStringLiteral(", "))));
    m_target.exec(QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
                      .arg(m_target.identifier(name + QStringLiteral("_kv_rowid")), target,
                           m_target.identifier(rowId)));
    for (const SqliteCatalog::Index& ix : source.indexes) {
        QStringList indexColumns;
        for (const QString& c : ix.columns)
            indexColumns << m_target.identifier(c.toLower());
        m_target.exec(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                          .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(),
                               m_target.identifier(ix.name), target,
                               indexColumns.join(QStringLiteral(", "))));
    }
    m_target.exec(QStringLiteral("ANALYZE %1").arg(target));
    if (m_progress)
        m_progress(index, count, name, copied, true);
    return copied;
}

PgDirectoryLoader::Result PgDirectoryLoader::run(const QString& sourceName)
{
    PgCzechCollation::require(m_target);
    LoadLock lock(m_target);
    PgDirectoryVersions versions(m_target);
    versions.ensureReaderRole();
    // The office's notes live beside the versions and outlast every load;
    // a table of the shape before row owners is upgraded here, and a ready
    // one is left as it is.
    if (PgNoteStore notes(m_target); !notes.ready())
        notes.prepare();

    // Quick find needs pg_trgm; without it the load goes on without quick
    // find, which readers then call not available.
    QString trgm;
    if (!PgQuickFindTable::sourceFits(m_source)) {
        note(QStringLiteral("warning: table firma lacks peno, ico, nazev, ulice or misto; quick "
                            "find will not be available on the server"));
    } else if (QString why; (trgm = PgQuickFindTable::prepareExtension(m_target, why)).isEmpty()) {
        note(QStringLiteral("warning: quick find will not be available on the server: ") + why);
    }

    Result result;
    const std::vector<SqliteCatalog::Table> tables = SqliteCatalog::tables(m_source);
    if (tables.empty())
        throw Error::engine(QStringLiteral("%1 holds no tables to load").arg(sourceName));
    {
        // The whole version and the switch to it are one transaction: a load
        // that fails or is killed leaves nothing behind.
        PgTransaction tx(m_target);
        versions.ensurePointer();
        result.schema = versions.newSchemaName();
        const QString schema = m_target.identifier(result.schema);
        m_target.exec(QStringLiteral("CREATE SCHEMA %1").arg(schema));
        // Sources are read in one snapshot of the SQLite file.
        Statement(m_source, QStringLiteral("BEGIN")).step();
        try {
            for (size_t i = 0; i < tables.size(); ++i)
                result.rows.emplace_back(
                    tables[i].name, copyTable(schema, int(i) + 1, int(tables.size()), tables[i]));
            // The Czech ranks, from the same snapshot, so that readers sort
            // as on the file.
            QHash<QString, qint64> copied;
            for (const auto& [name, rows] : result.rows)
                copied.insert(name.toLower(), rows);
            note(QStringLiteral("sort tables: %1")
                     .arg(PgRankTables::copy(m_source, m_target, schema, copied)));
            // Quick find's copy of the index, from the same snapshot.
            if (!trgm.isEmpty())
                note(QStringLiteral("quick find: %1 firms")
                         .arg(PgQuickFindTable::build(m_source, m_target, schema, trgm)));
        } catch (...) {
            Statement(m_source, QStringLiteral("ROLLBACK")).step();
            throw;
        }
        Statement(m_source, QStringLiteral("COMMIT")).step();
        result.previous = versions.switchTo(result.schema, sourceName);
        tx.commit();
    }
    note(result.previous.isEmpty()
             ? QStringLiteral("%1 is the current version").arg(result.schema)
             : QStringLiteral("%1 replaces %2").arg(result.schema, result.previous));
    result.notes = versions.dropUnused(m_dropWait);
    for (const QString& line : result.notes)
        note(line);
    return result;
}

} // namespace kv::engine
