#include "tests/support/EngineTestDb.h"
#include "engine/Schema.h"

#include "engine/DatabaseSetup.h"
#include "engine/Statement.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace kvtest
{

EngineTestDb::EngineTestDb()
{
    m_db.open(path(), kv::engine::Database::Mode::Create);
    // A test database needs no durability.
    m_db.exec(QStringLiteral("PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY"));
    m_db.exec(kv::engine::Schema::createSql());
}

void EngineTestDb::insert(const QString& table, const QVariantList& values)
{
    QStringList marks;
    for (qsizetype i = 0; i < values.size(); ++i)
        marks << QStringLiteral("?");
    kv::engine::Statement st(
        m_db, QStringLiteral("INSERT INTO %1 VALUES(%2)").arg(table, marks.join(u',')));
    for (qsizetype i = 0; i < values.size(); ++i)
        st.bind(int(i) + 1, values[i]);
    st.step();
}

void EngineTestDb::firm(int peno, const QString& nazev, const QString& misto, int mistoId,
                        const QString& placena)
{
    const QVariant null;
    insert(QStringLiteral("firma"),
           {peno, null, nazev, null, mistoId, misto.isNull() ? null : QVariant(misto), null, null,
            null, null, null, null, null, placena.isNull() ? null : QVariant(placena), null, null,
            null});
}

void EngineTestDb::finish()
{
    char* error = nullptr;
    const bool ok = kv::engine::finishDatabase(m_db.handle(), &error);
    EXPECT_TRUE(ok) << (error ? error : "");
    sqlite3_free(error);
    m_db.reloadCatalog();
}

} // namespace kvtest
