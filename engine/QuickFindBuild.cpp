#include "engine/QuickFindBuild.h"

#include "core/Error.h"
#include "engine/Database.h"
#include "engine/QuickFindIndex.h"
#include "engine/Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <sqlite3.h>
#include <thread>
#include <vector>

namespace kv::engine
{

namespace
{

constexpr char SideSchema[] = "kv_quickfind_build";
// The index's own tables, as FTS5 names them, and the table of first rows.
constexpr const char* CopiedSuffixes[] = {"_data", "_idx", "_content", "_docsize", "_config"};

void run(sqlite3* db, const char* sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString why = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        throw Error::engine(why);
    }
}

void run(sqlite3* db, const QString& sql)
{
    run(db, sql.toUtf8().constData());
}

// A spooled firm: peno, then ico, nazev, ulice and misto, each as its
// UTF-8 length (-1 for null) and bytes.
void appendText(QByteArray& out, const unsigned char* text, int bytes)
{
    const qint32 size = text ? bytes : -1;
    out.append(reinterpret_cast<const char*>(&size), sizeof size);
    if (text)
        out.append(reinterpret_cast<const char*>(text), bytes);
}

bool takeText(const char*& at, const char* end, QString& text)
{
    qint32 size = 0;
    if (end - at < qsizetype(sizeof size))
        return false;
    std::memcpy(&size, at, sizeof size);
    at += sizeof size;
    if (size < 0) {
        text = QString();
        return true;
    }
    if (end - at < size)
        return false;
    text = QString::fromUtf8(at, size);
    at += size;
    return true;
}

QString temporaryTemplate(sqlite3* db, const char* what)
{
    const char* file = sqlite3_db_filename(db, "main");
    if (!file || !*file)
        throw Error::engine(QStringLiteral("the quick-find index is built beside a database file"));
    return QFile::decodeName(file) + QLatin1String(what) + QStringLiteral("-XXXXXX");
}

} // namespace

struct QuickFindBuild::Impl {
    struct Record {
        qint64 start;
        qint64 size;
    };
    QTemporaryFile spool;
    QTemporaryFile side;
    std::vector<Record> records; // in the index's order
    std::thread thread;
    std::atomic<bool> stop{false};
    QString error;

    void spoolFirms(sqlite3* db);
    void build();
    void walk(const QuickFindIndex::FirmVisitor& visit);
};

QuickFindBuild::QuickFindBuild(sqlite3* db) : m(std::make_unique<Impl>())
{
    m->spool.setFileTemplate(temporaryTemplate(db, ".qfspool"));
    m->side.setFileTemplate(temporaryTemplate(db, ".qfbuild"));
    if (!m->spool.open() || !m->side.open())
        throw Error::engine(QStringLiteral("Cannot create a temporary file beside the database: %1")
                                .arg(m->spool.errorString()));
    m->side.close(); // SQLite opens it by name; an empty file is an empty database
    m->spoolFirms(db);
    m->thread = std::thread([this] { m->build(); });
}

QuickFindBuild::~QuickFindBuild()
{
    if (m->thread.joinable()) {
        m->stop = true;
        m->thread.join();
    }
}

void QuickFindBuild::Impl::spoolFirms(sqlite3* db)
{
    struct Place {
        qint64 rank, peno;
        Record record;
    };
    std::vector<Place> places;
    QByteArray buffer;
    qint64 written = 0;
    const auto flush = [&] {
        if (spool.write(buffer) != buffer.size())
            throw Error::engine(
                QStringLiteral("Cannot write %1: %2").arg(spool.fileName(), spool.errorString()));
        written += buffer.size();
        buffer.clear();
    };
    const auto place = [&](qint64 rank, qint64 peno, qint64 start) {
        places.push_back({rank, peno, {start, written + buffer.size() - start}});
        if (buffer.size() >= (1 << 20))
            flush();
    };
    const auto addRow = [&](qint64 rank, qint64 peno, sqlite3_stmt* row) {
        const qint64 start = written + buffer.size();
        buffer.append(reinterpret_cast<const char*>(&peno), sizeof peno);
        for (int c = 1; c <= 4; ++c)
            appendText(buffer, sqlite3_column_text(row, c), sqlite3_column_bytes(row, c));
        place(rank, peno, start);
    };
    const auto addFirm = [&](qint64 rank, const QuickFindRow& firm) {
        const qint64 start = written + buffer.size();
        buffer.append(reinterpret_cast<const char*>(&firm.peno), sizeof firm.peno);
        for (const QString* text : {&firm.ico, &firm.nazev, &firm.ulice, &firm.misto}) {
            const QByteArray utf8 = text->toUtf8();
            appendText(buffer,
                       text->isNull() ? nullptr
                                      : reinterpret_cast<const unsigned char*>(utf8.constData()),
                       int(utf8.size()));
        }
        place(rank, firm.peno, start);
    };
    // The stored name ranks give the order after one pass in row order and
    // a sort in memory, cheaper than SQLite's sort.
    if (QuickFindIndex::nameRanksCover(db, QStringLiteral("main"))) {
        Statement rows(db, QStringLiteral("SELECT f.peno, f.ico, f.nazev, f.ulice, f.misto, "
                                          "r.nazev FROM main.firma f LEFT JOIN "
                                          "main.kv_rank_firma r ON r.rid = f.rowid"));
        // A firm without a name has no rank: it comes first, as NULL sorts.
        while (rows.step())
            addRow(rows.isNull(5) ? -1 : rows.int64(5), rows.int64(0), rows.handle());
        std::sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
            return a.rank != b.rank ? a.rank < b.rank : a.peno < b.peno;
        });
    } else {
        QuickFindIndex::forEachFirm(db, QStringLiteral("main"),
                                    [&](qint64 n, const QuickFindRow& firm) { addFirm(n, firm); });
    }
    flush();
    if (!spool.flush())
        throw Error::engine(
            QStringLiteral("Cannot write %1: %2").arg(spool.fileName(), spool.errorString()));
    records.reserve(places.size());
    for (const Place& p : places)
        records.push_back(p.record);
}

void QuickFindBuild::Impl::walk(const QuickFindIndex::FirmVisitor& visit)
{
    QFile in(spool.fileName());
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw Error::engine(
            QStringLiteral("Cannot read %1: %2").arg(in.fileName(), in.errorString()));
    QByteArray bytes;
    qint64 n = 0;
    for (const Record& r : records) {
        if (stop)
            throw Error::engine(QStringLiteral("stopped"));
        bytes.resize(r.size);
        if (!in.seek(r.start) || in.read(bytes.data(), r.size) != r.size)
            throw Error::engine(
                QStringLiteral("Cannot read %1: %2").arg(in.fileName(), in.errorString()));
        QuickFindRow row;
        const char* at = bytes.constData();
        const char* end = at + bytes.size();
        if (end - at < qsizetype(sizeof row.peno))
            throw Error::engine(QStringLiteral("%1 is damaged").arg(in.fileName()));
        std::memcpy(&row.peno, at, sizeof row.peno);
        at += sizeof row.peno;
        if (!(takeText(at, end, row.ico) && takeText(at, end, row.nazev) &&
              takeText(at, end, row.ulice) && takeText(at, end, row.misto)))
            throw Error::engine(QStringLiteral("%1 is damaged").arg(in.fileName()));
        visit(++n, row);
    }
}

void QuickFindBuild::Impl::build()
{
    Database::configureLibrary();
    sqlite3* db = nullptr;
    try {
        const int rc = sqlite3_open_v2(QFile::encodeName(side.fileName()).constData(), &db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK)
            throw Error::engine(Database::lastError(db));
        // A draft thrown away on any failure.
        run(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE");
        run(db, "BEGIN");
        QuickFindIndex::createTables(db, QStringLiteral("main"));
        QuickFindIndex::fillTables(
            db, QStringLiteral("main"),
            [this](const QuickFindIndex::FirmVisitor& visit) { walk(visit); },
            qint64(records.size()));
        run(db, "COMMIT");
    } catch (const Error& e) {
        error = e.message();
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    sqlite3_close(db);
}

void QuickFindBuild::finishInto(sqlite3* db)
{
    if (m->thread.joinable())
        m->thread.join();
    if (!m->error.isEmpty())
        throw Error::engine(m->error);
    m->spool.remove();
    // The index table is made empty here and filled with the side
    // database's rows: in a transaction of its own, and never written
    // through, so that FTS5 holds no state of its own about it.
    run(db, "BEGIN");
    try {
        QuickFindIndex::createTables(db, QStringLiteral("main"));
        run(db, "COMMIT");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    {
        Statement attach(db, QStringLiteral("ATTACH ? AS %1").arg(QLatin1String(SideSchema)));
        attach.bind(1, m->side.fileName());
        attach.step();
    }
    const QString table = QLatin1String(QuickFindIndex::Table);
    QStringList copied{QLatin1String(QuickFindIndex::StartsTable)};
    for (const char* suffix : CopiedSuffixes)
        copied << table + QLatin1String(suffix);
    try {
        run(db, "BEGIN");
        for (const QString& t : copied)
            run(db, QStringLiteral("DELETE FROM main.%1; INSERT INTO main.%1 SELECT * FROM %2.%1")
                        .arg(t, QLatin1String(SideSchema)));
        run(db, "COMMIT");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "DETACH kv_quickfind_build", nullptr, nullptr, nullptr);
        throw;
    }
    run(db, QStringLiteral("DETACH %1").arg(QLatin1String(SideSchema)));
    m->side.remove();
}

} // namespace kv::engine
