#pragma once

#include "demo/CzechData.h"
#include "demo/DemoFirm.h"

#include <QHash>
#include <QString>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kv
{

// Writes the company database of a demo data home: creates every table,
// takes firms one by one with prepared statements inside one transaction,
// collects the dictionaries on the way, and at the end writes the
// dictionaries, builds the indexes and compacts the file.
class DemoDatabase
{
public:
    explicit DemoDatabase(const CzechData& data);
    ~DemoDatabase();
    DemoDatabase(const DemoDatabase&) = delete;
    DemoDatabase& operator=(const DemoDatabase&) = delete;

    // Creates a new database file (an existing one is replaced).
    bool create(const QString& path);
    bool addFirm(const DemoFirm& firm);
    // Dictionaries, indexes, the engine's finishing step, then a compacted
    // copy to finalPath (VACUUM INTO, so that the same content always gives
    // the same bytes). The working file is removed.
    bool finish(const QString& finalPath);
    QString error() const { return m_error; }

private:
    enum Statement { Firma, Osoby, Reklamy, Pzatrid, Radky, Slico, NazevP, UliceP, RadkyP, Count };

    bool exec(const char* sql);
    bool step(sqlite3_stmt* s);
    bool fail(const QString& what);
    int dictionaryId(QHash<QString, int>& ids, std::vector<QString>& texts, const QString& text);
    bool writeDictionaries();
    bool writeWords(const char* sql, const std::vector<QString>& texts);
    void close();

    const CzechData& m_data;
    sqlite3* m_db = nullptr;
    QString m_path;
    sqlite3_stmt* m_stmt[Count] = {};
    QString m_error;
    QHash<QString, int> m_nameIds, m_streetIds, m_keywordIds;
    std::vector<QString> m_nameTexts, m_streetTexts, m_keywordTexts;
    std::vector<bool> m_townUsed, m_districtUsed;
    std::vector<QString> m_industryName; // by industry code; empty when unused
};

} // namespace kv
