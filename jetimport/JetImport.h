#pragma once

#include "engine/SchemaCheck.h"

#include <QString>
#include <cstddef>
#include <functional>

namespace kv::jet
{

struct JetImportOptions {
    QString charset;                   // Jet 3 code page, Windows-1250 when empty
    bool requireCompanySchema = false; // keep the result only when the program can open it
    std::size_t bindSize = 0;          // first text buffer size, 0 for the reader's default
};

// Copies every table of a Jet database into a new SQLite database with the
// same table and column names (JetReader says how each type is carried),
// then adds the engine's indexes and Czech sort ranks (finishDatabase).
// The result is written to a temporary file beside the target and renamed
// only when complete; on any failure nothing is left behind.
class JetImport
{
public:
    using Options = JetImportOptions;
    // Called with done = 0 before the first table (name empty), then after
    // each table with the tables done so far, its name and its row count.
    using Progress = std::function<void(int done, int total, const QString& table, qint64 rows)>;

    explicit JetImport(Options options = Options());
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // False with error() when the Jet file cannot be read or the target
    // cannot be written, or (requireCompanySchema) the result lacks part of
    // the company schema. An existing target is never replaced.
    bool run(const QString& mdbPath, const QString& dbPath);

    QString error() const { return m_error; }
    QString version() const { return m_version; }
    int tableCount() const { return m_tables; }
    qint64 rowCount() const { return m_rows; }
    // What the result lacks of the company schema (filled after a run that
    // got as far as checking it).
    const engine::SchemaGaps& gaps() const { return m_gaps; }

private:
    bool copy(const QString& mdbPath, const QString& workPath, const QString& dbPath);

    Options m_options;
    Progress m_progress;
    QString m_error;
    QString m_version;
    int m_tables = 0;
    qint64 m_rows = 0;
    engine::SchemaGaps m_gaps;
};

} // namespace kv::jet
