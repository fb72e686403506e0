#include "jetimport/JetImport.h"

#include "core/Error.h"
#include "core/SafeFileWriter.h"
#include "engine/Database.h"
#include "engine/DatabaseSetup.h"
#include "engine/QuickFindIndex.h"
#include "engine/RowInserter.h"
#include "engine/Statement.h"
#include "engine/Transaction.h"
#include "jetimport/JetReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kv::jet
{

namespace
{

// Jet names may hold characters SQLite reads as syntax, a double quote too.
QString quote(const QString& name)
{
    QString inner = name;
    return u'"' + inner.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString createSql(const JetTable& table)
{
    QStringList columns;
    for (const JetColumn& c : table.columns)
        columns << quote(c.name) + u' ' + c.sqlType();
    return QStringLiteral("CREATE TABLE %1(%2)")
        .arg(quote(table.name), columns.join(QStringLiteral(", ")));
}

} // namespace

JetImport::JetImport(Options options) : m_options(std::move(options)) {}

bool JetImport::run(const QString& mdbPath, const QString& dbPath)
{
    m_error.clear();
    m_gaps = engine::SchemaGaps();
    m_tables = 0;
    m_rows = 0;
    if (QFileInfo::exists(dbPath)) {
        m_error = QStringLiteral("%1 exists already; it is not replaced.").arg(dbPath);
        return false;
    }
    // A draft beside the target, named so that a later run removes it when
    // this one is killed; SQLite writes it by name.
    const QString target = QFileInfo(dbPath).absoluteFilePath();
    SafeFileWriter::removeStaleDrafts(QFileInfo(target).absolutePath());
    const QString draft = SafeFileWriter::draftPath(target);
    QFile created(draft); // SQLite opens an existing file only
    if (!created.open(QIODevice::NewOnly)) {
        m_error = QStringLiteral("Cannot write %1: %2").arg(dbPath, created.errorString());
        return false;
    }
    created.close();
    const bool copied = copy(mdbPath, draft, dbPath);
    if (!copied) {
        QFile::remove(draft);
        return false;
    }
    try {
        SafeFileWriter::commit(draft, target);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        m_error = QStringLiteral("Cannot write %1").arg(e.message());
        return false;
    }
    return true;
}

bool JetImport::copy(const QString& mdbPath, const QString& workPath, const QString& dbPath)
{
    JetReader reader;
    if (m_options.bindSize)
        reader.setBindSize(m_options.bindSize);
    if (!reader.open(mdbPath, m_options.charset)) {
        m_error = reader.error();
        return false;
    }
    m_version = reader.versionName();
    const auto& tables = reader.tables();
    const int total = int(tables.size());
    if (m_progress)
        m_progress(0, total, QString(), 0);
    try {
        engine::Database db(workPath, engine::Database::Mode::ReadWrite);
        // The file is temporary until renamed: no need to survive a crash,
        // but savepoints must roll back when a table is read again.
        db.exec(QStringLiteral("PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF"));
        engine::Transaction transaction(db);
        for (int i = 0; i < total; ++i) {
            const JetTable& table = tables[size_t(i)];
            db.exec(createSql(table));
            engine::RowInserter insert(db, table.name, int(table.columns.size()));
            qint64 rows = 0;
            for (;;) {
                db.exec(QStringLiteral("SAVEPOINT kv_table"));
                rows = 0;
                const auto result = reader.readTable(i, [&](const QVariantList& values) {
                    for (const QVariant& v : values)
                        insert.add(v);
                    insert.insert();
                    ++rows;
                });
                if (result == JetReader::ReadResult::Retry) {
                    db.exec(QStringLiteral("ROLLBACK TO kv_table; RELEASE kv_table"));
                    continue;
                }
                if (result == JetReader::ReadResult::Failed) {
                    m_error = reader.error();
                    return false;
                }
                db.exec(QStringLiteral("RELEASE kv_table"));
                break;
            }
            m_rows += rows;
            ++m_tables;
            if (m_progress)
                m_progress(i + 1, total, table.name, rows);
        }
        transaction.commit();
        engine::finishDatabase(db);
        db.reloadCatalog();
        m_gaps = engine::SchemaCheck::missing(db);
        if (m_gaps.isEmpty())
            engine::buildQuickFindIndex(db);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::Engine))
            throw;
        m_error = QStringLiteral("Cannot write %1: %2").arg(dbPath, e.message());
        return false;
    }
    if (m_options.requireCompanySchema && !m_gaps.isEmpty()) {
        m_error = QStringLiteral("%1 is not a complete company database. %2")
                      .arg(mdbPath, m_gaps.describe());
        return false;
    }
    return true;
}

} // namespace kv::jet
