#include "domain/DataModule.h"

#include "core/Error.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/NoteStore.h"
#include "engine/PgQuickFind.h"
#include "engine/QuickFindIndex.h"
#include "engine/SchemaCheck.h"
#include "engine/ServerDirectory.h"

#include <QFileInfo>

namespace kv
{

using engine::TableCursor;

namespace
{
constexpr int MaxCalcLength = 255;
}

DataModule::DataModule(QObject* parent) : QObject(parent)
{
    m_views = &m_noViews;
}

DataModule::~DataModule()
{
    closeDatabase();
}

int DataModule::openingSteps()
{
    const auto& nast = settings().nast;
    return 8 + (nast[NastOsoby] ? 1 : 0) + (nast[NastReklamy] ? 1 : 0) +
           (nast[NastZatrid] ? 2 : 0) + (nast[NastRadky] ? 1 : 0);
}

QString DataModule::databasePath()
{
    // CleanPath knows only backslash paths; data paths here use "/".
    return dataPath(QStringLiteral("Dta/KV2001.db"));
}

QString DataModule::jetPath()
{
    return dataPath(QStringLiteral("Dta/KV2001.mdb"));
}

void DataModule::step()
{
    if (m_views->hasSplash())
        m_views->stepProgress();
}

void DataModule::createCursors()
{
    m_cursors.clear();
    auto make = [this](const char* table, const char* sort) {
        m_cursors.push_back(std::make_unique<TableCursor>(m_db, QLatin1String(table)));
        TableCursor* c = m_cursors.back().get();
        if (*sort)
            c->setSort(QLatin1String(sort));
        return c;
    };
    m_firms = make("firma", "nazev");
    m_icoDictionary = make("slico", "ico");
    m_townDictionary = make("mista", "misto");
    m_districtDictionary = make("okresy", "okres");
    m_nameDictionary = make("slnazev", "txt");
    m_streetDictionary = make("slulice", "txt");
    m_persons = make("osoby", "sortno");
    m_industries = make("zatrid", "txt");
    m_firmIndustries = make("pzatrid", "");
    m_industryLines = make("radky", "sortno");
    m_advertisements = make("reklamy", "");
    m_keywordDictionary = make("slradky", "txt");
    m_printFirms = make("firma", "placena DESC, nazev");
    m_printPersons = make("osoby", "");

    m_persons->setMaster(m_firms, QStringLiteral("peno"));
    m_firmIndustries->setMaster(m_firms, QStringLiteral("peno"));
    m_industryLines->setMaster(m_firmIndustries, QStringLiteral("peno;kod"));
    m_advertisements->setMaster(m_firms, QStringLiteral("peno"));
    m_printPersons->setMaster(m_printFirms, QStringLiteral("peno"));

    m_firms->addCalculatedField(QStringLiteral("Prosez"));
    m_firms->setCalcFields(
        [](engine::Record& r) { r.setValue(QStringLiteral("Prosez"), firmListLine(r)); });
    m_printPersons->addCalculatedField(QStringLiteral("kontos"));
    m_printPersons->setCalcFields(
        [](engine::Record& r) { r.setValue(QStringLiteral("kontos"), personContactLine(r)); });

    connect(m_firms, &TableCursor::afterScroll, this, &DataModule::afterFirmMoved);
    connect(m_advertisements, &TableCursor::afterScroll, this, &DataModule::advertisementMoved);
}

void DataModule::openDetails()
{
    const auto& nast = settings().nast;
    if (nast[NastOsoby]) {
        m_persons->open();
        step();
    }
    if (nast[NastZatrid]) {
        m_industries->open();
        step();
        m_firmIndustries->open();
        step();
    }
    if (nast[NastReklamy]) {
        m_advertisements->open();
        step();
    }
    if (nast[NastRadky]) {
        // The lines hang below the industries of the current firm.
        if (!m_firmIndustries->isOpen())
            m_firmIndustries->open();
        m_industryLines->open();
        step();
    }
}

DataModule::OpenResult DataModule::openDatabase()
{
    OpenResult result;
    m_views->setBusy(true);
    m_ready = false;
    if (m_views->hasSplash())
        m_views->setProgressRange(openingSteps());

    // A data home that still holds only the Jet database is imported once.
    QString importError;
    const bool onServer = !settings().database.isEmpty();
    if (!onServer && !settings().dataHome.isEmpty() && !QFileInfo::exists(databasePath()) &&
        QFileInfo(jetPath()).isFile()) {
        if (!m_jetImport)
            importError = QStringLiteral("%1 cannot be imported here.").arg(jetPath());
        else if (!m_jetImport(jetPath(), databasePath(), &importError) && importError.isEmpty())
            importError = QStringLiteral("%1 could not be imported.").arg(jetPath());
        if (m_views->hasSplash())
            m_views->setProgressRange(openingSteps());
    }

    if (settings().dataHome.isEmpty()) {
        result.status = OpenStatus::NoDataHome;
    } else if (!importError.isEmpty()) {
        result.status = OpenStatus::OpenFailed;
        result.message = loadStr(19) + QStringLiteral("\r\n") + importError;
    } else if (!onServer && !QFileInfo(databasePath()).isFile()) {
        result.status = OpenStatus::MissingFile;
        result.message = loadStr(18);
    } else {
        try {
            closeDatabase();
            // The company data from the server; pictures, notes and help
            // stay below the data home.
            if (onServer)
                m_db.openServer(settings().database);
            else
                m_db.open(databasePath());
            // Refused here, naming what is missing, rather than in a window later.
            const engine::SchemaGaps gaps = engine::SchemaCheck::missing(m_db);
            if (!gaps.isEmpty())
                throw Error::engine(gaps.describe());
            m_quickFindSchema.clear();
            if (!onServer)
                attachQuickFind(result.warnings);
            else if (engine::PgQuickFind::available(m_db))
                // The version's copy of the index (a version loaded by an
                // older kvelta has none: quick find says it is not available).
                m_quickFindSchema = m_db.directory()->version();
            step();
            createCursors();
            // The set starts as one firm: filtering before the first run
            // spares reading the whole table only to narrow it at once.
            m_firms->setFilter(QLatin1String(InitialFilter), true);
            m_firms->open();
            step();
            // The dictionaries open when their list is first shown (the
            // selection window opens them afresh anyway): reading the IČO
            // dictionary of millions of firms here would slow every start.
            for (int i = 0; i < 5; ++i)
                step();
            openDetails();
            m_firms->setFilter(QLatin1String(InitialFilter), true);
            step();
            m_ready = true;
            result.warnings << m_db.rankWarnings();
            // On a new state of a large file the sort columns are read at
            // idle priority now, before the first sort needs them.
            constexpr qint64 WorthWarmingUp = 1000000;
            if (!onServer && m_db.rankedRows(QStringLiteral("firma")) >= WorthWarmingUp)
                m_warmUp = std::make_unique<engine::RankColumnWarmUp>(
                    databasePath(), QStringLiteral("firma"),
                    QStringList{QStringLiteral("nazev"), QStringLiteral("misto"),
                                QStringLiteral("okres"), QStringLiteral("psc")});
        } catch (const Error& e) {
            if (!e.is(Error::Kind::Engine))
                throw;
            result.status = OpenStatus::OpenFailed;
            result.message = loadStr(19) + QStringLiteral("\r\n") + e.message();
            m_cursors.clear();
            m_firms = m_icoDictionary = m_townDictionary = m_districtDictionary = m_nameDictionary =
                m_streetDictionary = nullptr;
            m_persons = m_industries = m_firmIndustries = m_industryLines = m_advertisements =
                m_keywordDictionary = m_printFirms = m_printPersons = nullptr;
            m_db.close();
        }
    }
    m_excluded.clear();
    m_views->setBusy(false);
    if (m_ready) // the first move happened while not ready; show it now
        afterFirmMoved();
    return result;
}

QString DataModule::quickFindSchema() const
{
    if (m_db.isServer() && !m_quickFindSchema.isEmpty())
        return m_db.directory()->version();
    return m_quickFindSchema;
}

bool DataModule::attachQuickFind(QStringList& warnings)
{
    m_quickFindSchema.clear();
    bool started = false;
    // Building a side index for a large database reports on the splash, one
    // step per block of firms; then the opening's own steps start again.
    const auto progress = [this, &started](qint64, qint64 total) {
        if (!m_views->hasSplash() || total < 10000)
            return;
        if (!started)
            m_views->setProgressRange(int(total / 10000) + 1);
        started = true;
        m_views->stepProgress();
    };
    try {
        m_quickFindSchema = engine::QuickFindIndex::attach(
            m_db, engine::QuickFindIndex::defaultCacheDir(), progress);
        if (started)
            m_views->setProgressRange(openingSteps());
        return true;
    } catch (const std::exception& e) {
        warnings << loadStr(284).arg(QString::fromUtf8(e.what()));
        return false;
    }
}

void DataModule::closeDatabase()
{
    m_warmUp.reset();
    if (m_cursors.empty() && !m_db.isOpen())
        return;
    m_views->setBusy(true);
    m_ready = false;
    for (TableCursor* c : {m_printFirms, m_advertisements, m_streetDictionary, m_nameDictionary,
                           m_firmIndustries, m_industries, m_persons, m_districtDictionary,
                           m_townDictionary, m_icoDictionary, m_printPersons, m_firms})
        if (c)
            c->close();
    m_db.close();
    m_views->setBusy(false);
}

void DataModule::closeDetails()
{
    for (TableCursor* c :
         {m_persons, m_advertisements, m_industryLines, m_firmIndustries, m_industries})
        c->close();
}

void DataModule::reopenAfterSettings()
{
    if (!m_firms)
        return;
    closeDetails();
    const auto& nast = settings().nast;
    if (nast[NastOsoby])
        m_persons->open();
    if (nast[NastReklamy])
        m_advertisements->open();
    if (nast[NastZatrid] || nast[NastRadky])
        m_firmIndustries->open();
    if (nast[NastRadky])
        m_industryLines->open();
    m_firms->close();
    m_firms->open();
}

QString DataModule::firmListLine(const engine::Record& firm)
{
    const auto& nast = settings().nast;
    QString s = firm.text(QStringLiteral("nazev"));
    const std::pair<int, const char*> parts[] = {
        {NastUlice, "ulice"}, {NastMisto, "misto"}, {NastPsc, "psc"}, {NastOkres, "okres"}};
    for (const auto& [flag, field] : parts)
        if (nast[flag])
            s += QStringLiteral("; ") + firm.text(QLatin1String(field));
    return s.left(MaxCalcLength);
}

QString DataModule::personContactLine(const engine::Record& person)
{
    QString s = person.text(QStringLiteral("osoba"));
    if (s.isEmpty())
        return s;
    const std::pair<const char*, const char*> parts[] = {
        {"tel", ", tel.: "}, {"fax", ", fax: "}, {"email", ", E-Mail: "}};
    for (const auto& [field, label] : parts) {
        const QString value = person.text(QLatin1String(field));
        if (!value.isEmpty())
            s += QString::fromUtf8(label) + value;
    }
    return s.left(MaxCalcLength);
}

void DataModule::afterFirmMoved()
{
    if (!m_ready)
        return;
    m_views->setBusy(true);
    // The views know whether their windows exist.
    m_views->refreshProfile();
    m_views->repaintList();
    m_views->setStatusText(0, loadStr(195) + QStringLiteral("  ") +
                                  QString::number(m_firms->position()) + QStringLiteral(" / ") +
                                  QString::number(m_firms->recordCount()));
    m_views->setBusy(false);
    emit firmMoved();
}

NoteStore& DataModule::notes()
{
    if (!m_notes)
        m_notes = NoteStore::fromSettings();
    return *m_notes;
}

void DataModule::setNotes(std::unique_ptr<NoteStore> store)
{
    m_notes = std::move(store);
}

} // namespace kv
