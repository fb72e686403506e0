#pragma once

#include "engine/Database.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

namespace kvtest
{

// A small company database in a temporary folder with every table of the
// program, written through the engine in builder mode. Rows are added with
// plain values; open() gives the read-only connection the program uses.
class EngineTestDb
{
public:
    EngineTestDb();
    QString path() const { return m_dir.filePath(QStringLiteral("KV2001.db")); }

    void insert(const QString& table, const QVariantList& values);
    // firma row with the fields the tests care about; the rest stay empty.
    void firm(int peno, const QString& nazev, const QString& misto = QString(), int mistoId = 0,
              const QString& placena = QString());
    void exec(const QString& sql) { m_db.exec(sql); }
    // Builds ranks and indexes as the generators do.
    void finish();
    // Closes the builder connection (the file stays).
    void done() { m_db.close(); }

private:
    QTemporaryDir m_dir;
    kv::engine::Database m_db;
};

} // namespace kvtest
