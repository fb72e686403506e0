#include "tests/support/ListTestDb.h"

#include "core/Settings.h"
#include "engine/DatabaseSetup.h"
#include "engine/Schema.h"
#include "engine/Statement.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace kvtest
{

namespace
{
QVariant orNull(const QString& s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}
} // namespace

ListTestDb::ListTestDb()
{
    kv::settings() = kv::Settings();
    kv::settings().dataHome = m_home.path();
    QDir().mkpath(m_home.file(QStringLiteral("Dta")));
    m_db.open(m_home.file(QStringLiteral("Dta/KV2001.db")), kv::engine::Database::Mode::Create);
    m_db.exec(QStringLiteral("PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY"));
    m_db.exec(kv::engine::Schema::createSql());
}

ListTestDb::~ListTestDb()
{
    m_dm.reset();
    kv::settings() = kv::Settings();
}

void ListTestDb::firm(const Firm& f)
{
    kv::engine::Statement st(m_db, QStringLiteral("INSERT INTO firma(peno, nazev, ulice, misto,"
                                                  " okres, placena, psc) VALUES(?,?,?,?,?,?,?)"));
    st.bind(1, f.peno);
    st.bind(2, orNull(f.nazev));
    st.bind(3, orNull(f.ulice));
    st.bind(4, orNull(f.misto));
    st.bind(5, orNull(f.okres));
    st.bind(6, orNull(f.placena));
    st.bind(7, orNull(f.psc));
    st.step();
}

void ListTestDb::standardFirms()
{
    firm({1, "Beta", "", "Dlouhá 5", "Zlín", "76001", "Zlín"});
    firm({2, "Alfa", "A", "Krátká 1", "Brno", "60200", "Brno-město"});
    firm({3, "Gama", "X", "", "Aš", "35201", "Cheb"});
    firm({4, "Delta", "", "Nová 2", "Cheb", "35002", "Cheb"});
    firm({5, QString::fromUtf8("Čeněk"), "", "Polní 9", "Praha", "11000", "Praha"});
    firm({7, QString::fromUtf8("Stejná"), "A", "", "", "", ""});
    firm({8, QString::fromUtf8("Stejná"), "", "", "", "", ""});
    firm({9, "Mimo", "", "", "Brno", "", ""});
}

void ListTestDb::manyFirms(int count)
{
    m_db.exec(QStringLiteral("BEGIN"));
    kv::engine::Statement st(
        m_db, QStringLiteral("INSERT INTO firma(peno, nazev, misto, placena) VALUES(?,?,?,?)"));
    for (int peno = 1; peno <= count; ++peno) {
        st.reset();
        st.bind(1, peno);
        st.bind(2, QStringLiteral("Firma %1").arg(peno, 7, 10, QLatin1Char('0')));
        st.bind(3, QStringLiteral("Obec %1").arg(peno % 97));
        st.bind(4, peno % 7 == 0 ? QVariant(QStringLiteral("A")) : QVariant());
        st.step();
    }
    m_db.exec(QStringLiteral("COMMIT"));
}

kv::DataModule& ListTestDb::open(const QString& filter)
{
    char* error = nullptr;
    const bool ok = kv::engine::finishDatabase(m_db.handle(), &error);
    EXPECT_TRUE(ok) << (error ? error : "");
    sqlite3_free(error);
    m_db.close();
    m_dm = std::make_unique<kv::DataModule>();
    const kv::DataModule::OpenResult opened = m_dm->openDatabase();
    EXPECT_EQ(opened.status, kv::DataModule::OpenStatus::Opened) << opened.message.toStdString();
    if (m_dm->firms())
        m_dm->firms()->setFilter(filter, !filter.isEmpty());
    return *m_dm;
}

} // namespace kvtest
