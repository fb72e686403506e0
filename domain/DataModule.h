#pragma once

// The data module: the connection to the company database and every cursor
// the windows show. It knows no window; what it needs from them (refreshing
// the profile, repaint of the list, the status line, the splash's progress,
// the busy cursor) it asks through DataViews.

#include "engine/Database.h"
#include "engine/RankColumnWarmUp.h"
#include "engine/TableCursor.h"

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
    // Called after every move of TFirma; a view without its window does
    // nothing.
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

class NoteStore;

class DataModule : public QObject
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

    explicit DataModule(QObject* parent = nullptr);
    ~DataModule() override;

    void setViews(DataViews* views) { m_views = views ? views : &m_noViews; }
    DataViews& views() const { return *m_views; }

    // Turns the data home's Jet database into the SQLite one; false with a
    // reason in *error. OpenDatabase calls it only when Dta/KV2001.db is
    // missing and Dta/KV2001.mdb exists. Without a hook such a data home
    // fails to open; the desktop and the commands install cli/JetImportHook.
    using JetImportHook =
        std::function<bool(const QString& mdbPath, const QString& dbPath, QString* error)>;
    void setJetImport(JetImportHook hook) { m_jetImport = std::move(hook); }

    // Opens the connection and the cursors below the data home of settings().
    OpenResult openDatabase();
    void closeDatabase();
    bool ready() const { return m_ready; }

    // Number of progress steps OpenDatabase takes with the current flags.
    static int openingSteps();
    static QString databasePath();
    static QString jetPath();

    // The two composed display texts.
    static QString firmListLine(const engine::Record& firm);
    static QString personContactLine(const engine::Record& person);

    // Closes the optional detail cursors, opens again those whose display
    // flags are on, then closes and reopens TFirma (first firm current).
    void reopenAfterSettings();

    engine::Database& db() { return m_db; }
    // The schema holding the quick-find index ("main" or the attached side
    // file; on a server the version, when it was loaded with the index),
    // empty when there is none (on SQLite a warning said why). On a server
    // the version its connection reads now (it may have changed, see
    // engine::ServerDirectory).
    QString quickFindSchema() const;
    // The cursors; the names in brackets are the tables they walk.
    engine::TableCursor* firms() const { return m_firms; }                   // TFirma (firma)
    engine::TableCursor* icoDictionary() const { return m_icoDictionary; }   // TICO (slico)
    engine::TableCursor* townDictionary() const { return m_townDictionary; } // TMisto (mista)
    engine::TableCursor* districtDictionary() const
    {
        return m_districtDictionary;
    }                                                                            // TOkres (okresy)
    engine::TableCursor* nameDictionary() const { return m_nameDictionary; }     // TNazev (slnazev)
    engine::TableCursor* streetDictionary() const { return m_streetDictionary; } // TUlice (slulice)
    engine::TableCursor* persons() const { return m_persons; }                   // TOsoby (osoby)
    engine::TableCursor* industries() const { return m_industries; }             // TZatrid (zatrid)
    engine::TableCursor* firmIndustries() const { return m_firmIndustries; } // TPZatrid (pzatrid)
    engine::TableCursor* industryLines() const { return m_industryLines; }   // TRadky (radky)
    engine::TableCursor* advertisements() const { return m_advertisements; } // TReklamy (reklamy)
    engine::TableCursor* keywordDictionary() const
    {
        return m_keywordDictionary;
    } // TSlRadky (slradky)
    // TPrn (firma, for printing): opened for a run through PrintCursorScope.
    engine::TableCursor* printFirms() const { return m_printFirms; }
    engine::TableCursor* printPersons() const
    {
        return m_printPersons;
    } // TOsoby_2 (osoby, for printing)

    QList<ExcludedFirm>& excludedFirms() { return m_excluded; }

    // Where notes are read and written: the server of settings().database
    // when set, else the user's files; chosen on first use.
    NoteStore& notes();
    void setNotes(std::unique_ptr<NoteStore> store);

    // Tells the views about the current firm: profile, list, status line.
    // Runs after every move of TFirma; callable to redo the texts.
    void afterFirmMoved();

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
    // Attaches or builds the quick-find index; false with a warning line.
    bool attachQuickFind(QStringList& warnings);

    engine::Database m_db;
    engine::TableCursor* m_firms = nullptr;
    engine::TableCursor* m_icoDictionary = nullptr;
    engine::TableCursor* m_townDictionary = nullptr;
    engine::TableCursor* m_districtDictionary = nullptr;
    engine::TableCursor* m_nameDictionary = nullptr;
    engine::TableCursor* m_streetDictionary = nullptr;
    engine::TableCursor* m_persons = nullptr;
    engine::TableCursor* m_industries = nullptr;
    engine::TableCursor* m_firmIndustries = nullptr;
    engine::TableCursor* m_industryLines = nullptr;
    engine::TableCursor* m_advertisements = nullptr;
    engine::TableCursor* m_keywordDictionary = nullptr;
    engine::TableCursor* m_printFirms = nullptr;
    engine::TableCursor* m_printPersons = nullptr;
    std::vector<std::unique_ptr<engine::TableCursor>> m_cursors;
    DataViews* m_views = nullptr;
    DataViews m_noViews;
    JetImportHook m_jetImport;
    bool m_ready = false;
    QList<ExcludedFirm> m_excluded;
    QString m_quickFindSchema;
    std::unique_ptr<NoteStore> m_notes;
    std::unique_ptr<engine::RankColumnWarmUp> m_warmUp;
};

} // namespace kv
