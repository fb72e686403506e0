#pragma once

// The data module: the connection to the company database and every cursor
// the windows show. It knows no window; what it needs from them (refreshing
// the profile, repaint of the list, the status line, the splash's progress,
// the busy cursor) it asks through DataViews.

#include "data/engine/Database.h"
#include "data/engine/TableCursor.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace kv
{

// Implemented by the main window and the splash.
class DataViews
{
public:
    virtual ~DataViews() = default;
    virtual void refreshProfile() {}
    virtual void repaintList() {}
    virtual void setStatusText(int panel, const QString& text)
    {
        Q_UNUSED(panel)
        Q_UNUSED(text)
    }
    virtual void setBusy(bool busy) { Q_UNUSED(busy) }
    // Progress while the database opens; only while a splash window exists.
    virtual bool hasSplash() const { return false; }
    virtual void setProgressRange(int maximum) { Q_UNUSED(maximum) }
    virtual void stepProgress() {}
};

struct ExcludedFirm {
    QString name;
    qint64 peno = 0;
};

class TDM : public QObject
{
    Q_OBJECT
public:
    enum class OpenStatus {
        Opened,
        NoDataHome,  // the configuration error was shown already
        MissingFile, // text 18
        OpenFailed,  // text 19, a line break and the engine's message
    };
    struct OpenResult {
        OpenStatus status = OpenStatus::Opened;
        QString message; // the text to show, empty when opened or without data home
        // Opened, but a derived sort table no longer matches its table and
        // is not used (engine::Database::rankWarnings).
        QStringList warnings;
    };

    static constexpr const char* InitialFilter = "peno in(200219)";

    explicit TDM(QObject* parent = nullptr);
    ~TDM() override;

    void setViews(DataViews* views) { m_views = views ? views : &m_noViews; }

    // Turns the data home's Jet database into the SQLite one; false with a
    // reason in *error. OpenDatabase calls it only when Dta/KV2001.db is
    // missing and Dta/KV2001.mdb exists. The default imports with progress
    // on the splash and keeps the result only when it is complete.
    using JetImportHook =
        std::function<bool(const QString& mdbPath, const QString& dbPath, QString* error)>;
    void setJetImport(JetImportHook hook) { m_jetImport = std::move(hook); }

    // Opens the connection and the cursors below the data home of global().
    OpenResult OpenDatabase();
    void CloseDatabase();
    bool Ready() const { return m_ready; }

    // Number of progress steps OpenDatabase takes with the current flags.
    static int openingSteps();
    static QString databasePath();
    static QString jetPath();

    // The two composed display texts.
    static QString Prosez(const engine::Record& firm);
    static QString kontos(const engine::Record& person);

    // Closes the optional detail cursors, opens again those whose display
    // flags are on, then closes and reopens TFirma (first firm current).
    void reopenAfterSettings();

    // Opens TPrn on TFirma's filter, switch and sort (or on filterOverride
    // with filtering on), without moving TFirma.
    void openPrn(const QString& filterOverride = QString());
    void closePrn();

    engine::Database& db() { return m_db; }
    engine::TableCursor* TFirma = nullptr;
    engine::TableCursor* TICO = nullptr;
    engine::TableCursor* TMisto = nullptr;
    engine::TableCursor* TOkres = nullptr;
    engine::TableCursor* TNazev = nullptr;
    engine::TableCursor* TUlice = nullptr;
    engine::TableCursor* TOsoby = nullptr;
    engine::TableCursor* TZatrid = nullptr;
    engine::TableCursor* TPZatrid = nullptr;
    engine::TableCursor* TRadky = nullptr;
    engine::TableCursor* TReklamy = nullptr;
    engine::TableCursor* TSlRadky = nullptr;
    engine::TableCursor* TPrn = nullptr;
    engine::TableCursor* TOsoby_2 = nullptr;

    QList<ExcludedFirm>& ExcludedFirms() { return m_excluded; }

    // Tells the views about the current firm: profile, list, status line.
    // Runs after every move of TFirma; callable to redo the texts.
    void TFirmaAfterScroll();

signals:
    // After every move of the current-firm cursor, once the views were told.
    void firmMoved();
    // After a move of the advertisement cursor.
    void advertisementMoved();

private:
    void createCursors();
    void openDetails();
    void closeDetails();
    void step();
    bool importJet(const QString& mdbPath, const QString& dbPath, QString* error);

    engine::Database m_db;
    std::vector<std::unique_ptr<engine::TableCursor>> m_cursors;
    DataViews* m_views = nullptr;
    DataViews m_noViews;
    JetImportHook m_jetImport;
    bool m_ready = false;
    QList<ExcludedFirm> m_excluded;
};

} // namespace kv
