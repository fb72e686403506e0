#include "data/TDM.h"

#include "app/core/Global.h"
#include "app/core/StringTable.h"
#include "data/engine/EngineError.h"
#include "data/engine/SchemaCheck.h"
#include "data/import/JetImport.h"

#include <QFileInfo>

namespace kv
{

using engine::TableCursor;

namespace
{
constexpr int MaxCalcLength = 255;
}

TDM::TDM(QObject* parent) : QObject(parent)
{
    m_views = &m_noViews;
    m_jetImport = [this](const QString& mdbPath, const QString& dbPath, QString* error) {
        return importJet(mdbPath, dbPath, error);
    };
}

TDM::~TDM()
{
    CloseDatabase();
}

int TDM::openingSteps()
{
    const auto& nast = global().nast;
    return 8 + (nast[NastOsoby] ? 1 : 0) + (nast[NastReklamy] ? 1 : 0) +
           (nast[NastZatrid] ? 2 : 0) + (nast[NastRadky] ? 1 : 0);
}

QString TDM::databasePath()
{
    // CleanPath knows only backslash paths; data paths here use "/".
    return dataPath(QStringLiteral("Dta/KV2001.db"));
}

QString TDM::jetPath()
{
    return dataPath(QStringLiteral("Dta/KV2001.mdb"));
}

bool TDM::importJet(const QString& mdbPath, const QString& dbPath, QString* error)
{
    jet::JetImport::Options options;
    options.requireCompanySchema = true; // a partial result would block a corrected file
    jet::JetImport import(options);
    import.setProgress([this](int done, int total, const QString&, qint64) {
        if (!m_views->hasSplash())
            return;
    if (done == 0)
        m_views->setProgressRange(total);
    else
        m_views->stepProgress();
});
const bool ok = import.run(mdbPath, dbPath);
if (!ok && error)
    *error = import.error();
return ok;
} // namespace kv

void TDM::step()
{
    if (m_views->hasSplash())
        m_views->stepProgress();
}

void TDM::createCursors()
{
    m_cursors.clear();
    auto make = [this](const char* table, const char* sort) {
        m_cursors.push_back(std::make_unique<TableCursor>(m_db, QLatin1String(table)));
        TableCursor* c = m_cursors.back().get();
        if (*sort)
            c->setSort(QLatin1String(sort));
        return c;
    };
    TFirma = make("firma", "nazev");
    TICO = make("slico", "ico");
    TMisto = make("mista", "misto");
    TOkres = make("okresy", "okres");
    TNazev = make("slnazev", "txt");
    TUlice = make("slulice", "txt");
    TOsoby = make("osoby", "sortno");
    TZatrid = make("zatrid", "txt");
    TPZatrid = make("pzatrid", "");
    TRadky = make("radky", "sortno");
    TReklamy = make("reklamy", "");
    TSlRadky = make("slradky", "txt");
    TPrn = make("firma", "placena DESC, nazev");
    TOsoby_2 = make("osoby", "");

    TOsoby->setMaster(TFirma, QStringLiteral("peno"));
    TPZatrid->setMaster(TFirma, QStringLiteral("peno"));
    TRadky->setMaster(TPZatrid, QStringLiteral("peno;kod"));
    TReklamy->setMaster(TFirma, QStringLiteral("peno"));
    TOsoby_2->setMaster(TPrn, QStringLiteral("peno"));

    TFirma->addCalculatedField(QStringLiteral("Prosez"));
    TFirma->setCalcFields(
        [](engine::Record& r) { r.setValue(QStringLiteral("Prosez"), Prosez(r)); });
    TOsoby_2->addCalculatedField(QStringLiteral("kontos"));
    TOsoby_2->setCalcFields(
        [](engine::Record& r) { r.setValue(QStringLiteral("kontos"), kontos(r)); });

    connect(TFirma, &TableCursor::afterScroll, this, &TDM::TFirmaAfterScroll);
    connect(TReklamy, &TableCursor::afterScroll, this, &TDM::advertisementMoved);
}

void TDM::openDetails()
{
    const auto& nast = global().nast;
    if (nast[NastOsoby]) {
        TOsoby->open();
        step();
    }
    if (nast[NastZatrid]) {
        TZatrid->open();
        step();
        TPZatrid->open();
        step();
    }
    if (nast[NastReklamy]) {
        TReklamy->open();
        step();
    }
    if (nast[NastRadky]) {
        // The lines hang below the industries of the current firm.
        if (!TPZatrid->isOpen())
            TPZatrid->open();
        TRadky->open();
        step();
    }
}

TDM::OpenResult TDM::OpenDatabase()
{
    OpenResult result;
    m_views->setBusy(true);
    m_ready = false;
    if (m_views->hasSplash())
        m_views->setProgressRange(openingSteps());

    // A data home that still holds only the Jet database is imported once.
    QString importError;
    if (!global().dataHome.isEmpty() && !QFileInfo::exists(databasePath()) &&
        QFileInfo(jetPath()).isFile()) {
        if (!m_jetImport(jetPath(), databasePath(), &importError) && importError.isEmpty())
            importError = QStringLiteral("%1 could not be imported.").arg(jetPath());
        if (m_views->hasSplash())
            m_views->setProgressRange(openingSteps());
    }

    if (global().dataHome.isEmpty()) {
        result.status = OpenStatus::NoDataHome;
    } else if (!importError.isEmpty()) {
        result.status = OpenStatus::OpenFailed;
        result.message = LoadStr(19) + QStringLiteral("\r\n") + importError;
    } else if (!QFileInfo(databasePath()).isFile()) {
        result.status = OpenStatus::MissingFile;
        result.message = LoadStr(18);
    } else {
        try {
            CloseDatabase();
            m_db.open(databasePath());
            // Refused here, naming what is missing, rather than in a window later.
            const engine::SchemaGaps gaps = engine::SchemaCheck::missing(m_db);
            if (!gaps.isEmpty())
                throw engine::EngineError(gaps.describe());
            step();
            createCursors();
            // The set starts as one firm: filtering before the first run
            // spares reading the whole table only to narrow it at once.
            TFirma->setFilter(QLatin1String(InitialFilter), true);
            for (TableCursor* c : {TFirma, TICO, TMisto, TOkres, TNazev, TUlice}) {
                c->open();
                step();
            }
            openDetails();
            TFirma->setFilter(QLatin1String(InitialFilter), true);
            step();
            m_ready = true;
            result.warnings = m_db.rankWarnings();
        } catch (const engine::EngineError& e) {
            result.status = OpenStatus::OpenFailed;
            result.message = LoadStr(19) + QStringLiteral("\r\n") + e.message();
            m_cursors.clear();
            TFirma = TICO = TMisto = TOkres = TNazev = TUlice = nullptr;
            TOsoby = TZatrid = TPZatrid = TRadky = TReklamy = TSlRadky = TPrn = TOsoby_2 = nullptr;
            m_db.close();
        }
    }
    m_excluded.clear();
    m_views->setBusy(false);
    if (m_ready) // the first move happened while not ready; show it now
        TFirmaAfterScroll();
    return result;
}

void TDM::CloseDatabase()
{
    if (m_cursors.empty() && !m_db.isOpen())
        return;
    m_views->setBusy(true);
    m_ready = false;
    for (TableCursor* c : {TPrn, TReklamy, TUlice, TNazev, TPZatrid, TZatrid, TOsoby, TOkres,
                           TMisto, TICO, TOsoby_2, TFirma})
        if (c)
            c->close();
    m_db.close();
    m_views->setBusy(false);
}

void TDM::closeDetails()
{
    for (TableCursor* c : {TOsoby, TReklamy, TRadky, TPZatrid, TZatrid})
        c->close();
}

void TDM::reopenAfterSettings()
{
    if (!TFirma)
        return;
    closeDetails();
    const auto& nast = global().nast;
    if (nast[NastOsoby])
        TOsoby->open();
    if (nast[NastReklamy])
        TReklamy->open();
    if (nast[NastZatrid] || nast[NastRadky])
        TPZatrid->open();
    if (nast[NastRadky])
        TRadky->open();
    TFirma->close();
    TFirma->open();
}

void TDM::openPrn(const QString& filterOverride)
{
    TPrn->close();
    if (filterOverride.isEmpty()) {
        TPrn->setSort(TFirma->sort());
        TPrn->setFilter(TFirma->filter(), TFirma->isFiltered());
    } else {
        TPrn->setFilter(filterOverride, true);
    }
    TPrn->open();
}

void TDM::closePrn()
{
    TOsoby_2->close();
    TPrn->close();
}

QString TDM::Prosez(const engine::Record& firm)
{
    const auto& nast = global().nast;
    QString s = firm.text(QStringLiteral("nazev"));
    const std::pair<int, const char*> parts[] = {
        {NastUlice, "ulice"}, {NastMisto, "misto"}, {NastPsc, "psc"}, {NastOkres, "okres"}};
    for (const auto& [flag, field] : parts)
        if (nast[flag])
            s += QStringLiteral("; ") + firm.text(QLatin1String(field));
    return s.left(MaxCalcLength);
}

QString TDM::kontos(const engine::Record& person)
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

void TDM::TFirmaAfterScroll()
{
    if (!m_ready)
        return;
    m_views->setBusy(true);
    if (global().profileOpen)
        m_views->refreshProfile();
    if (global().listOpen)
        m_views->repaintList();
    m_views->setStatusText(0, LoadStr(195) + QStringLiteral("  ") +
                                  QString::number(TFirma->position()) + QStringLiteral(" / ") +
                                  QString::number(TFirma->recordCount()));
    m_views->setBusy(false);
    emit firmMoved();
}

} // namespace kv
