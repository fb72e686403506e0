#include "demo/DemoDatabase.h"

#include "core/Error.h"
#include "demo/DemoTiming.h"
#include "demo/DemoWords.h"
#include "engine/Database.h"
#include "engine/DatabaseSetup.h"
#include "engine/RowInserter.h"
#include "engine/Schema.h"
#include "engine/SchemaSql.h"
#include "engine/Transaction.h"

#include <QFile>

namespace kv
{

namespace
{

// The tables DemoDatabase::Table names, in its order.
const char* const kTables[] = {"firma", "osoby",     "reklamy",   "pzatrid",  "radky",
                               "slico", "slnazev_p", "slulice_p", "slradky_p"};

const engine::TableInfo& tableInfo(const char* name)
{
    const engine::TableInfo* t = engine::Schema::table(QLatin1String(name));
    if (!t)
        throw Error::engine(QStringLiteral("no table %1").arg(QLatin1String(name)));
    return *t;
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
    for (auto& s : m_insert)
        s.reset();
    m_transaction.reset();
    m_db.reset();
}

bool DemoDatabase::create(const QString& path)
{
    close();
    m_path = path;
    QFile::remove(path);
    try {
        m_db = std::make_unique<engine::Database>(path, engine::Database::Mode::Create);
        engine::prepareBulkLoad(*m_db);
        m_transaction = std::make_unique<engine::Transaction>(*m_db);
        m_db->exec(engine::SchemaSql::createSql(engine::SchemaSql::Keys::RowKey));
        for (int i = 0; i < Count; ++i)
            m_insert[i] = std::make_unique<engine::RowInserter>(*m_db, tableInfo(kTables[i]));
    } catch (const Error& e) {
        if (!e.is(Error::Kind::Engine))
            throw;
        m_error = QStringLiteral("Cannot create %1: %2").arg(path, e.message());
        close();
        return false;
    }
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

const std::vector<int>& DemoDatabase::lineKeywordIds(const QString& line)
{
    // Activity lines come from a short phrase list: cut each one once. The
    // first sight assigns the ids in the same order as cutting every time.
    auto it = m_lineKeywords.find(line);
    if (it == m_lineKeywords.end()) {
        std::vector<int> ids;
        for (const QString& word : DemoWords::keywords(line))
            ids.push_back(dictionaryId(m_keywordIds, m_keywordTexts, word));
        it = m_lineKeywords.insert(line, std::move(ids));
    }
    return *it;
}

bool DemoDatabase::addFirm(const DemoFirm& firm)
{
    try {
        writeFirm(firm);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::Engine))
            throw;
        m_error = QStringLiteral("Cannot write a row: %1").arg(e.message());
        return false;
    }
    return true;
}

void DemoDatabase::writeFirm(const DemoFirm& f)
{
    const CzechData::Town& town = m_data.towns()[f.town];
    const CzechData::District& district = m_data.districts()[town.district];
    m_townUsed[f.town] = true;
    m_districtUsed[town.district] = true;

    m_insert[Firma]
        ->add(f.peno)
        .add(f.ico)
        .add(f.nazev)
        .add(f.ulice)
        .add(f.town + 1)
        .add(town.name)
        .add(town.district + 1)
        .add(district.name)
        .add(f.tel)
        .add(f.fax)
        .add(f.email)
        .add(f.www)
        .add(f.logo)
        .add(f.placena)
        .add(f.link)
        .add(f.reklama)
        .add(f.psc)
        .insert();

    int sortno = 0;
    for (const DemoPerson& p : f.persons)
        m_insert[Osoby]
            ->add(f.peno)
            .add(p.osoba)
            .add(p.tel)
            .add(p.fax)
            .add(p.email)
            .add(p.www)
            .add(++sortno)
            .insert();
    for (const QString& ad : f.ads)
        m_insert[Reklamy]->add(f.peno).add(ad).insert();

    std::vector<int> keywordIds;
    int industrySort = 0, lineSort = 0;
    for (const DemoIndustryRow& row : f.industries) {
        m_industryName[row.kod] = row.txt;
        m_insert[Pzatrid]->add(f.peno).add(++industrySort).add(row.kod).add(row.txt).insert();
        for (const QString& line : row.lines) {
            m_insert[Radky]->add(f.peno).add(++lineSort).add(line).add(row.kod).insert();
            for (const int id : lineKeywordIds(line))
                if (std::find(keywordIds.begin(), keywordIds.end(), id) == keywordIds.end())
                    keywordIds.push_back(id);
        }
    }

    for (const int id : keywordIds)
        m_insert[RadkyP]->add(id).add(f.peno).insert();
    for (const QString& word : DemoWords::nameWords(f.nazev))
        m_insert[NazevP]->add(dictionaryId(m_nameIds, m_nameTexts, word)).add(f.peno).insert();
    if (!f.street.isNull())
        m_insert[UliceP]
            ->add(dictionaryId(m_streetIds, m_streetTexts, f.street))
            .add(f.peno)
            .insert();
    if (!f.ico.isNull())
        m_insert[Slico]->add(f.ico).add(f.peno).insert();
}

void DemoDatabase::writeWords(const char* table, const std::vector<QString>& texts)
{
    engine::RowInserter insert(*m_db, tableInfo(table));
    for (std::size_t i = 0; i < texts.size(); ++i)
        insert.add(static_cast<int>(i + 1)).add(texts[i]).insert();
}

void DemoDatabase::writeDictionaries()
{
    writeWords("slnazev", m_nameTexts);
    writeWords("slulice", m_streetTexts);
    writeWords("slradky", m_keywordTexts);

    engine::RowInserter towns(*m_db, tableInfo("mista"));
    for (std::size_t i = 0; i < m_townUsed.size(); ++i)
        if (m_townUsed[i])
            towns.add(static_cast<int>(i + 1))
                .add(m_data.towns()[i].name)
                .add(m_data.towns()[i].district + 1)
                .insert();
    engine::RowInserter districts(*m_db, tableInfo("okresy"));
    for (std::size_t i = 0; i < m_districtUsed.size(); ++i)
        if (m_districtUsed[i])
            districts.add(static_cast<int>(i + 1))
                .add(m_data.districts()[i].name)
                .add(m_data.districts()[i].spz)
                .insert();
    engine::RowInserter industries(*m_db, tableInfo("zatrid"));
    for (std::size_t code = 0; code < m_industryName.size(); ++code)
        if (!m_industryName[code].isEmpty())
            // The code as the decimal text of pzatrid.kod, so that the text
            // reads back as the same integer.
            industries.add(QString::number(code)).add(m_industryName[code]).insert();
}

bool DemoDatabase::finish(const QString& finalPath)
{
    if (!m_db) {
        m_error = QStringLiteral("The database is not open.");
        return false;
    }
    try {
        writeDictionaries();
        for (auto& s : m_insert)
            s.reset();
        m_transaction->commit();
        // Index keys sorted in small runs, as finishDatabase does: cheaper
        // than in runs as large as the cache that took the rows.
        m_db->exec(QStringLiteral("PRAGMA cache_size=-2048"));
        {
            engine::Transaction lookups(*m_db);
            for (const QString& sql : engine::SchemaSql::lookupIndexSql())
                m_db->exec(sql);
            lookups.commit();
        }
        // The page cache that took the rows makes room for the sort ranks.
        m_db->exec(QStringLiteral("PRAGMA cache_size=-65536; PRAGMA shrink_memory"));
        DemoTiming::mark("dictionaries, lookup indexes");
        engine::FinishOptions options;
        options.quickFind = true;
        engine::finishDatabase(*m_db, options);
        DemoTiming::mark("indexes, ranks and quick-find index");
    } catch (const Error& e) {
        if (!e.is(Error::Kind::Engine))
            throw;
        m_error = QStringLiteral("Cannot finish the database: %1").arg(e.message());
        return false;
    }
    // The file was written in one deterministic pass with nothing deleted,
    // so it is already compact and the same content gives the same bytes:
    // it is renamed, not copied.
    close();
    QFile::remove(finalPath);
    if (!QFile::rename(m_path, finalPath)) {
        m_error = QStringLiteral("Cannot rename %1 to %2").arg(m_path, finalPath);
        return false;
    }
    return true;
}

} // namespace kv
