#include "engine/QuickFindIndex.h"

#include "core/Error.h"
#include "core/SafeFileWriter.h"
#include "engine/CzechText.h"
#include "engine/Database.h"
#include "engine/QuickFindTokenizer.h"
#include "engine/Statement.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QUrl>
#include <sqlite3.h>

namespace kv::engine
{

namespace
{

// Pages hashed for the identity: the header and the schema live there, and
// SQLite bumps the header's change counter on every write.
constexpr qint64 HashedBytes = 64 * 1024;
constexpr qint64 ProgressEvery = 10000;
constexpr qint64 HashBytes = 32 * 1024 * 1024;

// The prefixes of one and two ASCII letters or digits of a token, which are
// the queries that fit most firms.
QList<QByteArray> shortPrefixes(const QByteArray& token)
{
    QList<QByteArray> out;
    for (int n = 1; n <= QuickFindIndex::StartPrefixMax && n <= token.size(); ++n) {
        if (uchar(token.at(n - 1)) >= 0x80)
            break;
        out << token.left(n);
    }
    return out;
}

void run(sqlite3* db, const QString& sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString why = QString::fromUtf8(err ? err : "unknown error");
        sqlite3_free(err);
        throw Error::engine(why);
    }
}

bool hasTable(sqlite3* db, const QString& schema, const QString& table)
{
    Statement st(db, QStringLiteral("SELECT 1 FROM %1.sqlite_master WHERE type='table' AND "
                                    "lower(name)=lower(?)")
                         .arg(schema));
    st.bind(1, table);
    return st.step();
}

} // namespace

// A row added after the ranks were made would have none
// (Database::reloadCatalog's check).
bool QuickFindIndex::nameRanksCover(sqlite3* db, const QString& source)
{
    if (!hasTable(db, source, QStringLiteral("kv_rank_firma")))
        return false;
    Statement st(db, QStringLiteral("SELECT (SELECT count(*) || ' ' || total(rowid) FROM %1.firma) "
                                    "= (SELECT count(*) || ' ' || total(rid) FROM "
                                    "%1.kv_rank_firma)")
                         .arg(source));
    return st.step() && st.int64(0) == 1;
}

// In the index's order (Czech name order, then peno), numbering the firms
// from 1.
void QuickFindIndex::forEachFirm(sqlite3* db, const QString& source, const FirmVisitor& visit)
{
    // The stored Czech ranks give the name order cheaply; without them the
    // collation does.
    QString order;
    QString join;
    if (nameRanksCover(db, source)) {
        join = QStringLiteral(" LEFT JOIN %1.kv_rank_firma r ON r.rid = f.rowid").arg(source);
        order = QStringLiteral("r.nazev, f.peno");
    } else {
        CzechText::registerWith(db);
        order = QStringLiteral("f.nazev COLLATE %1, f.peno").arg(CzechText::collationName);
    }
    Statement rows(db, QStringLiteral("SELECT f.peno, f.ico, f.nazev, f.ulice, f.misto FROM "
                                      "%1.firma f%2 ORDER BY %3")
                           .arg(source, join, order));
    qint64 n = 0;
    while (rows.step())
        visit(++n, {rows.int64(0), rows.text(1), rows.text(2), rows.text(3), rows.text(4)});
}

namespace
{

// Fills target.kv_quickfind from source.firma, rowids in name order.
void fillIndex(sqlite3* db, const QString& target, const QString& source,
               const QuickFindIndex::Progress& progress)
{
    QuickFindIndex::createTables(db, target);
    qint64 total = 0;
    {
        Statement count(db, QStringLiteral("SELECT count(*) FROM %1.firma").arg(source));
        if (count.step())
            total = count.int64(0);
    }
    QuickFindIndex::fillTables(
        db, target,
        [&](const QuickFindIndex::FirmVisitor& visit) {
            QuickFindIndex::forEachFirm(db, source, visit);
        },
        total, progress);
}

QString storedIdentity(sqlite3* db, const QString& schema)
{
    if (!hasTable(db, schema, QStringLiteral("kv_quickfind_source")) ||
        !hasTable(db, schema, QLatin1String(QuickFindIndex::Table)))
        return QString();
    Statement st(db, QStringLiteral("SELECT identity FROM %1.kv_quickfind_source").arg(schema));
    return st.step() ? st.text(0) : QString();
}

// Builds the side file into a draft beside it and renames it into place.
void buildSideFile(const QString& dbPath, const QString& side, const QString& identity,
                   const QuickFindIndex::Progress& progress)
{
    QDir().mkpath(QFileInfo(side).absolutePath());
    SafeFileWriter::removeStaleDrafts(QFileInfo(side).absolutePath());
    const QString draft = SafeFileWriter::draftPath(side);
    Database::configureLibrary();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(draft).constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI |
                                       SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    try {
        if (rc != SQLITE_OK)
            throw Error::engine(Database::lastError(db));
        run(db, QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF"));
        // The company database is only ever read, also here.
        const QString uri =
            QUrl::fromLocalFile(QFileInfo(dbPath).absoluteFilePath()).toString(QUrl::FullyEncoded) +
            QStringLiteral("?mode=ro");
        {
            Statement attach(db, QStringLiteral("ATTACH ? AS src"));
            attach.bind(1, uri);
            attach.step();
        }
        run(db, QStringLiteral("BEGIN"));
        fillIndex(db, QStringLiteral("main"), QStringLiteral("src"), progress);
        run(db, QStringLiteral("CREATE TABLE kv_quickfind_source(identity TEXT)"));
        {
            Statement st(db, QStringLiteral("INSERT INTO kv_quickfind_source VALUES(?)"));
            st.bind(1, identity);
            st.step();
        }
        run(db, QStringLiteral("COMMIT"));
        run(db, QStringLiteral("DETACH src"));
    } catch (...) {
        sqlite3_close(db);
        QFile::remove(draft);
        throw;
    }
    sqlite3_close(db);
    SafeFileWriter::commit(draft, side, false);
}

} // namespace

void buildQuickFindIndex(Database& db)
{
    run(db.handle(), QStringLiteral("BEGIN"));
    try {
        fillIndex(db.handle(), QStringLiteral("main"), QStringLiteral("main"), {});
        run(db.handle(), QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void QuickFindIndex::createTables(sqlite3* db, const QString& schema)
{
    const QString table = schema + u'.' + QLatin1String(Table);
    run(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(table));
    run(db, QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(nazev, ico, ulice, misto, "
                           "peno UNINDEXED, tokenize='unicode61 remove_diacritics 2', "
                           "prefix='1 2 3')")
                .arg(table));
    const QString starts = schema + u'.' + QLatin1String(StartsTable);
    run(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(starts));
    run(db, QStringLiteral("CREATE TABLE %1(prefix TEXT NOT NULL, rid INTEGER NOT NULL, "
                           "PRIMARY KEY(prefix, rid)) WITHOUT ROWID")
                .arg(starts));
}

void QuickFindIndex::fillTables(sqlite3* db, const QString& schema, const FirmWalk& walk,
                                qint64 total, const Progress& progress)
{
    const QString table = schema + u'.' + QLatin1String(Table);
    // Terms are gathered in memory up to this many bytes before a segment
    // is written: fewer, larger segments leave less merging (a fifth less
    // time for a million firms). Only writing uses it.
    run(db, QStringLiteral("INSERT INTO %1(%2, rank) VALUES('hashsize', %3)")
                .arg(table, QLatin1String(Table))
                .arg(HashBytes));
    Statement ins(db, QStringLiteral("INSERT INTO %1(rowid, peno, ico, nazev, ulice, misto) "
                                     "VALUES(?, ?, ?, ?, ?, ?)")
                          .arg(table));
    // The first rows (in name order) whose name starts with each short
    // prefix: one and two letters fit most firms, and the index would pass
    // over every firm with any word of those letters to find them.
    const QString starts = schema + u'.' + QLatin1String(StartsTable);
    Statement start(db, QStringLiteral("INSERT INTO %1(prefix, rid) VALUES(?, ?)").arg(starts));
    QuickFindTokenizer tokenizer(db);
    QHash<QByteArray, int> kept;
    qint64 last = 0;
    walk([&](qint64 n, const QuickFindRow& firm) {
        last = n;
        ins.reset();
        ins.bind(1, n);
        ins.bind(2, firm.peno);
        ins.bind(3, firm.ico);
        ins.bind(4, firm.nazev);
        ins.bind(5, firm.ulice);
        ins.bind(6, firm.misto);
        ins.step();
        const QList<QByteArray> first = tokenizer.tokens(firm.nazev.toUtf8(), 1);
        for (const QByteArray& prefix : shortPrefixes(first.value(0))) {
            int& count = kept[prefix];
            if (count >= QuickFindIndex::StartRows)
                continue;
            ++count;
            start.reset();
            start.bind(1, QString::fromLatin1(prefix));
            start.bind(2, n);
            start.step();
        }
        if (progress && n % ProgressEvery == 0)
            progress(n, total);
    });
    ins.reset();
    start.reset();
    run(db, QStringLiteral("INSERT INTO %1(%2) VALUES('optimize')")
                .arg(table, QLatin1String(QuickFindIndex::Table)));
    if (progress)
        progress(last, total);
}

QString QuickFindIndex::identity(const QString& dbPath)
{
    const QFileInfo info(dbPath);
    QFile file(dbPath);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (file.open(QIODevice::ReadOnly))
        hash.addData(file.read(HashedBytes));
    return QStringLiteral("%1 %2 %3")
        .arg(info.size())
        .arg(info.lastModified().toMSecsSinceEpoch())
        .arg(QString::fromLatin1(hash.result().toHex()));
}

QString QuickFindIndex::defaultCacheDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/Lumora/KV2001");
}

QString QuickFindIndex::sideFilePath(const QString& dbPath, const QString& cacheDir)
{
    const QString canonical = QFileInfo(dbPath).absoluteFilePath();
    const QByteArray key =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QDir(cacheDir).filePath(QStringLiteral("quickfind-%1.db").arg(QString::fromLatin1(key)));
}

QString QuickFindIndex::attach(Database& db, const QString& cacheDir, const Progress& progress)
{
    sqlite3* h = db.handle();
    if (hasTable(h, QStringLiteral("main"), QLatin1String(Table)))
        return QStringLiteral("main");
    const QString schema = QLatin1String(SideSchema);
    {
        Statement attached(h, QStringLiteral("SELECT 1 FROM pragma_database_list WHERE name=?"));
        attached.bind(1, schema);
        if (attached.step())
            run(h, QStringLiteral("DETACH %1").arg(schema));
    }
    const QString side = sideFilePath(db.path(), cacheDir);
    const QString wanted = identity(db.path());
    auto attachSide = [&]() {
        Statement st(h, QStringLiteral("ATTACH ? AS %1").arg(schema));
        st.bind(1, side);
        st.step();
    };
    if (QFileInfo(side).isFile()) {
        try {
            attachSide();
            if (storedIdentity(h, schema) == wanted)
                return schema;
        } catch (const Error& e) {
            if (!e.is(Error::Kind::Engine))
                throw;
            // A damaged side file is built again below.
        }
        sqlite3_exec(h, "DETACH kvqf", nullptr, nullptr, nullptr);
    }
    buildSideFile(db.path(), side, wanted, progress);
    attachSide();
    return schema;
}

std::optional<std::vector<QuickFindRow>> QuickFindIndex::nameStarts(const Database& db,
                                                                    const QString& schema,
                                                                    const QString& prefix,
                                                                    int limit)
{
    if (prefix.isEmpty() || prefix.size() > StartPrefixMax || limit > StartRows ||
        !hasTable(db.handle(), schema, QLatin1String(StartsTable)))
        return std::nullopt;
    for (QChar c : prefix)
        if (!(c >= u'a' && c <= u'z') && !(c >= u'0' && c <= u'9'))
            return std::nullopt;
    std::vector<QuickFindRow> rows;
    Statement st(db.handle(),
                 QStringLiteral("SELECT q.peno, q.ico, q.nazev, q.ulice, q.misto FROM %1.%2 s "
                                "JOIN %1.%3 q ON q.rowid = s.rid WHERE s.prefix = ? "
                                "ORDER BY s.rid LIMIT ?")
                     .arg(schema, QLatin1String(StartsTable), QLatin1String(Table)));
    st.bind(1, prefix);
    st.bind(2, qint64(limit));
    while (st.step())
        rows.push_back({st.int64(0), st.text(1), st.text(2), st.text(3), st.text(4)});
    return rows;
}

void QuickFindIndex::forEachFirm(const Database& db, const FirmVisitor& visit)
{
    forEachFirm(db.handle(), QStringLiteral("main"), visit);
}

std::vector<QuickFindRow> QuickFindIndex::match(const Database& db, const QString& schema,
                                                const QString& expression, int limit)
{
    std::vector<QuickFindRow> rows;
    Statement st(db.handle(), QStringLiteral("SELECT peno, ico, nazev, ulice, misto FROM %1.%2 "
                                             "WHERE %2 MATCH ? ORDER BY rowid LIMIT ?")
                                  .arg(schema, QLatin1String(Table)));
    st.bind(1, expression);
    st.bind(2, qint64(limit));
    while (st.step())
        rows.push_back({st.int64(0), st.text(1), st.text(2), st.text(3), st.text(4)});
    return rows;
}

} // namespace kv::engine
