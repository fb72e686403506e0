#include "demo/DemoDatabase.h"

#include "demo/DemoWords.h"
#include "engine/Database.h"
#include "engine/DatabaseSetup.h"
#include "engine/EngineError.h"
#include "engine/QuickFindIndex.h"

#include <QFile>
#include <sqlite3.h>

namespace kv
{

namespace
{

// Every table of the company database with its fields. Memo fields are TEXT.
const char* const kSchema[] = {
    "create table firma (peno INTEGER PRIMARY KEY, ico TEXT, nazev TEXT, ulice TEXT, "
    "misto_id INTEGER, misto TEXT, okres_id INTEGER, okres TEXT, tel TEXT, fax TEXT, "
    "email TEXT, www TEXT, logo TEXT, placena TEXT, link TEXT, reklama TEXT, psc TEXT)",
    "create table osoby (peno INTEGER, osoba TEXT, tel TEXT, fax TEXT, email TEXT, www TEXT, "
    "sortno INTEGER)",
    "create table reklamy (peno INTEGER, txt TEXT)",
    "create table pzatrid (peno INTEGER, sortno INTEGER, kod INTEGER, txt TEXT)",
    "create table radky (peno INTEGER, sortno INTEGER, radek TEXT, kod INTEGER)",
    "create table mista (id INTEGER PRIMARY KEY, misto TEXT, okres_id INTEGER)",
    "create table okresy (id INTEGER PRIMARY KEY, okres TEXT, spz TEXT)",
    "create table zatrid (kod TEXT, txt TEXT)",
    "create table slnazev (id INTEGER PRIMARY KEY, txt TEXT)",
    "create table slulice (id INTEGER PRIMARY KEY, txt TEXT)",
    "create table slradky (id INTEGER PRIMARY KEY, txt TEXT)",
    "create table slico (ico TEXT, peno INTEGER)",
    "create table slnazev_p (id INTEGER, peno INTEGER)",
    "create table slUlice_p (id INTEGER, peno INTEGER)",
    "create table slRadky_p (id INTEGER, peno INTEGER)",
};

// Built after the rows are in (much faster than maintaining them per row).
// The link and key indexes come from finishDatabase, like for any database.
const char* const kIndexes[] = {
    "create index ix_firma_nazev on firma (nazev)",
    "create index ix_slico_ico on slico (ico)",
    "create index ix_slnazev_txt on slnazev (txt)",
    "create index ix_slulice_txt on slulice (txt)",
    "create index ix_slradky_txt on slradky (txt)",
    "create index ix_zatrid_kod on zatrid (kod)",
    "create index ix_zatrid_txt on zatrid (txt)",
    "create index ix_mista_misto on mista (misto)",
    "create index ix_okresy_okres on okresy (okres)",
};

const char* const kInserts[] = {
    "insert into firma values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
    "insert into osoby values (?,?,?,?,?,?,?)",
    "insert into reklamy values (?,?)",
    "insert into pzatrid values (?,?,?,?)",
    "insert into radky values (?,?,?,?)",
    "insert into slico values (?,?)",
    "insert into slnazev_p values (?,?)",
    "insert into slUlice_p values (?,?)",
    "insert into slRadky_p values (?,?)",
};

// A null QString is a value the firm does not have: SQL NULL, never ''.
void bindText(sqlite3_stmt* s, int i, const QString& v)
{
    if (v.isNull()) {
        sqlite3_bind_null(s, i);
        return;
    }
    const QByteArray u = v.toUtf8();
    sqlite3_bind_text(s, i, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
}

} // namespace

DemoDatabase::DemoDatabase(const CzechData& data)
    : m_data(data), m_townUsed(data.towns().size(), false),
      m_districtUsed(data.districts().size(), false), m_industryName(10000)
{
}

DemoDatabase::~DemoDatabase()
{
    close();
}

void DemoDatabase::close()
{
    for (auto& s : m_stmt) {
        sqlite3_finalize(s);
        s = nullptr;
    }
    if (m_db) {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
}

bool DemoDatabase::fail(const QString& what)
{
    m_error = what;
    if (m_db)
        m_error += QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(m_db));
    return false;
}

bool DemoDatabase::exec(const char* sql)
{
    char* msg = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &msg) != SQLITE_OK) {
        m_error = QString::fromUtf8(msg ? msg : "database error") + QStringLiteral(" (") +
                  QString::fromUtf8(sql) + u')';
        sqlite3_free(msg);
        return false;
    }
    return true;
}

bool DemoDatabase::step(sqlite3_stmt* s)
{
    const int rc = sqlite3_step(s);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    return rc == SQLITE_DONE || fail(QStringLiteral("Cannot write a row"));
}

bool DemoDatabase::create(const QString& path)
{
    close();
    m_path = path;
    QFile::remove(path);
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        return fail(QStringLiteral("Cannot create %1").arg(path));
    // A fixed page size keeps the file layout independent of the machine;
    // no journal and no syncing: a failed run leaves only a working file
    // that is deleted anyway.
    if (!exec("pragma page_size=4096") || !exec("pragma journal_mode=OFF") ||
        !exec("pragma synchronous=OFF") || !exec("pragma locking_mode=EXCLUSIVE") ||
        !exec("pragma cache_size=-262144") || !exec("pragma threads=2") || !exec("begin"))
        return false;
    for (const char* sql : kSchema)
        if (!exec(sql))
            return false;
    for (int i = 0; i < Count; ++i)
        if (sqlite3_prepare_v2(m_db, kInserts[i], -1, &m_stmt[i], nullptr) != SQLITE_OK)
            return fail(QStringLiteral("Cannot prepare %1").arg(QString::fromUtf8(kInserts[i])));
    return true;
}

int DemoDatabase::dictionaryId(QHash<QString, int>& ids, std::vector<QString>& texts,
                               const QString& text)
{
    const auto it = ids.constFind(text);
    if (it != ids.constEnd())
        return *it;
    texts.push_back(text);
    const int id = static_cast<int>(texts.size());
    ids.insert(text, id);
    return id;
}

bool DemoDatabase::addFirm(const DemoFirm& f)
{
    const CzechData::Town& town = m_data.towns()[f.town];
    const CzechData::District& district = m_data.districts()[town.district];
    m_townUsed[f.town] = true;
    m_districtUsed[town.district] = true;

    sqlite3_stmt* s = m_stmt[Firma];
    sqlite3_bind_int(s, 1, f.peno);
    bindText(s, 2, f.ico);
    bindText(s, 3, f.nazev);
    bindText(s, 4, f.ulice);
    sqlite3_bind_int(s, 5, f.town + 1);
    bindText(s, 6, town.name);
    sqlite3_bind_int(s, 7, town.district + 1);
    bindText(s, 8, district.name);
    const QString* texts[] = {&f.tel,     &f.fax,  &f.email,   &f.www, &f.logo,
                              &f.placena, &f.link, &f.reklama, &f.psc};
    for (int i = 0; i < 9; ++i)
        bindText(s, 9 + i, *texts[i]);
    if (!step(s))
        return false;

    int sortno = 0;
    for (const DemoPerson& p : f.persons) {
        s = m_stmt[Osoby];
        sqlite3_bind_int(s, 1, f.peno);
        bindText(s, 2, p.osoba);
        bindText(s, 3, p.tel);
        bindText(s, 4, p.fax);
        bindText(s, 5, p.email);
        bindText(s, 6, p.www);
        sqlite3_bind_int(s, 7, ++sortno);
        if (!step(s))
            return false;
    }
    for (const QString& ad : f.ads) {
        s = m_stmt[Reklamy];
        sqlite3_bind_int(s, 1, f.peno);
        bindText(s, 2, ad);
        if (!step(s))
            return false;
    }

    std::vector<int> keywordIds;
    int industrySort = 0, lineSort = 0;
    for (const DemoIndustryRow& row : f.industries) {
        m_industryName[row.kod] = row.txt;
        s = m_stmt[Pzatrid];
        sqlite3_bind_int(s, 1, f.peno);
        sqlite3_bind_int(s, 2, ++industrySort);
        sqlite3_bind_int(s, 3, row.kod);
        bindText(s, 4, row.txt);
        if (!step(s))
            return false;
        for (const QString& line : row.lines) {
            s = m_stmt[Radky];
            sqlite3_bind_int(s, 1, f.peno);
            sqlite3_bind_int(s, 2, ++lineSort);
            bindText(s, 3, line);
            sqlite3_bind_int(s, 4, row.kod);
            if (!step(s))
                return false;
            for (const QString& word : DemoWords::keywords(line)) {
                const int id = dictionaryId(m_keywordIds, m_keywordTexts, word);
                if (std::find(keywordIds.begin(), keywordIds.end(), id) == keywordIds.end())
                    keywordIds.push_back(id);
            }
        }
    }

    auto index = [&](Statement st, int id) {
        sqlite3_bind_int(m_stmt[st], 1, id);
        sqlite3_bind_int(m_stmt[st], 2, f.peno);
        return step(m_stmt[st]);
    };
    for (const int id : keywordIds)
        if (!index(RadkyP, id))
            return false;
    for (const QString& word : DemoWords::nameWords(f.nazev))
        if (!index(NazevP, dictionaryId(m_nameIds, m_nameTexts, word)))
            return false;
    if (!f.street.isNull() && !index(UliceP, dictionaryId(m_streetIds, m_streetTexts, f.street)))
        return false;
    if (!f.ico.isNull()) {
        s = m_stmt[Slico];
        bindText(s, 1, f.ico);
        sqlite3_bind_int(s, 2, f.peno);
        if (!step(s))
            return false;
    }
    return true;
}

bool DemoDatabase::writeWords(const char* sql, const std::vector<QString>& texts)
{
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr) != SQLITE_OK)
        return fail(QStringLiteral("Cannot prepare a dictionary"));
    bool ok = true;
    for (std::size_t i = 0; ok && i < texts.size(); ++i) {
        sqlite3_bind_int(s, 1, static_cast<int>(i + 1));
        bindText(s, 2, texts[i]);
        ok = step(s);
    }
    sqlite3_finalize(s);
    return ok;
}

bool DemoDatabase::writeDictionaries()
{
    if (!writeWords("insert into slnazev values (?,?)", m_nameTexts) ||
        !writeWords("insert into slulice values (?,?)", m_streetTexts) ||
        !writeWords("insert into slradky values (?,?)", m_keywordTexts))
        return false;

    sqlite3_stmt* s = nullptr;
    bool ok =
        sqlite3_prepare_v2(m_db, "insert into mista values (?,?,?)", -1, &s, nullptr) == SQLITE_OK;
    for (std::size_t i = 0; ok && i < m_townUsed.size(); ++i) {
        if (!m_townUsed[i])
            continue;
        sqlite3_bind_int(s, 1, static_cast<int>(i + 1));
        bindText(s, 2, m_data.towns()[i].name);
        sqlite3_bind_int(s, 3, m_data.towns()[i].district + 1);
        ok = step(s);
    }
    sqlite3_finalize(s);
    ok = ok && sqlite3_prepare_v2(m_db, "insert into okresy values (?,?,?)", -1, &s, nullptr) ==
                   SQLITE_OK;
    for (std::size_t i = 0; ok && i < m_districtUsed.size(); ++i) {
        if (!m_districtUsed[i])
            continue;
        sqlite3_bind_int(s, 1, static_cast<int>(i + 1));
        bindText(s, 2, m_data.districts()[i].name);
        bindText(s, 3, m_data.districts()[i].spz);
        ok = step(s);
    }
    sqlite3_finalize(s);
    ok = ok &&
         sqlite3_prepare_v2(m_db, "insert into zatrid values (?,?)", -1, &s, nullptr) == SQLITE_OK;
    for (std::size_t code = 0; ok && code < m_industryName.size(); ++code) {
        if (m_industryName[code].isEmpty())
            continue;
        // The code as the decimal text of pzatrid.kod, so that the text
        // reads back as the same integer.
        bindText(s, 1, QString::number(code));
        bindText(s, 2, m_industryName[code]);
        ok = step(s);
    }
    sqlite3_finalize(s);
    return ok || fail(QStringLiteral("Cannot write the dictionaries"));
}

bool DemoDatabase::finish(const QString& finalPath)
{
    if (!writeDictionaries())
        return false;
    for (const char* sql : kIndexes)
        if (!exec(sql))
            return false;
    if (!exec("commit"))
        return false;
    char* engineError = nullptr;
    if (!engine::finishDatabase(m_db, &engineError)) {
        m_error = QStringLiteral("Cannot finish the database: ") +
                  QString::fromUtf8(engineError ? engineError : "unknown error");
        sqlite3_free(engineError);
        return false;
    }
    QFile::remove(finalPath);
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(m_db, "vacuum into ?", -1, &s, nullptr) != SQLITE_OK)
        return fail(QStringLiteral("Cannot compact the database"));
    bindText(s, 1, finalPath);
    const int rc = sqlite3_step(s);
    sqlite3_finalize(s);
    if (rc != SQLITE_DONE)
        return fail(QStringLiteral("Cannot compact the database"));
    close();
    QFile::remove(m_path);
    try {
        engine::Database db(finalPath, engine::Database::Mode::ReadWrite);
        engine::buildQuickFindIndex(db);
    } catch (const engine::EngineError& e) {
        m_error = QStringLiteral("Cannot build the quick-find index: ") + e.message();
        return false;
    }
    return true;
}

} // namespace kv
