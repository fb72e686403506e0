#pragma once

#include "demo/CzechData.h"
#include "demo/DemoFirm.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace kv
{

namespace engine
{
class Database;
class RowInserter;
class Transaction;
} // namespace engine

// Writes the company database of a demo data home through the engine: the
// tables as the engine's schema declares them (with their row keys), firms
// one by one through reused prepared inserts inside one transaction, the
// dictionaries collected on the way and written at the end, then the
// indexes.
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
    // Dictionaries, indexes and the engine's finishing step; then the file
    // is renamed to finalPath.
    bool finish(const QString& finalPath);
    QString error() const { return m_error; }

private:
    enum Table { Firma, Osoby, Reklamy, Pzatrid, Radky, Slico, NazevP, UliceP, RadkyP, Count };

    void writeFirm(const DemoFirm& firm);
    int dictionaryId(QHash<QString, int>& ids, std::vector<QString>& texts, const QString& text);
    const std::vector<int>& lineKeywordIds(const QString& line);
    void writeDictionaries();
    void writeWords(const char* table, const std::vector<QString>& texts);
    void close();

    const CzechData& m_data;
    std::unique_ptr<engine::Database> m_db;
    std::unique_ptr<engine::Transaction> m_transaction;
    std::unique_ptr<engine::RowInserter> m_insert[Count];
    QString m_path;
    QString m_error;
    QHash<QString, int> m_nameIds, m_streetIds, m_keywordIds;
    std::vector<QString> m_nameTexts, m_streetTexts, m_keywordTexts;
    QHash<QString, std::vector<int>> m_lineKeywords; // keyword ids by activity line
    std::vector<bool> m_townUsed, m_districtUsed;
    std::vector<QString> m_industryName; // by industry code; empty when unused
};

} // namespace kv
