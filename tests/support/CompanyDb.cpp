#include "tests/support/CompanyDb.h"

#include "core/Settings.h"
#include "engine/DatabaseSetup.h"
#include "engine/Schema.h"
#include "engine/Statement.h"
#include "engine/TableCursor.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace kvtest
{

namespace
{
QVariant orNull(const QString& s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}
} // namespace

CompanyDb::CompanyDb(Where where)
{
    if (where == Where::DataHome) {
        m_home = std::make_unique<TestHome>();
        kv::settings() = kv::Settings();
        kv::settings().dataHome = m_home->path();
        QDir().mkpath(m_home->file(QStringLiteral("Dta")));
    }
    m_db.open(path(), kv::engine::Database::Mode::Create);
    // A test database needs no durability.
    m_db.exec(QStringLiteral("PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY"));
    m_db.exec(kv::engine::Schema::createSql());
}

CompanyDb::~CompanyDb()
{
    m_dm.reset();
    if (m_home)
        kv::settings() = kv::Settings();
}

QString CompanyDb::path() const
{
    return m_home ? m_home->file(QStringLiteral("Dta/KV2001.db"))
                  : m_dir.filePath(QStringLiteral("KV2001.db"));
}

QString CompanyDb::home() const
{
    return m_home ? m_home->path() : QString();
}

void CompanyDb::insert(const QString& table, const QVariantList& values)
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

void CompanyDb::exec(const QString& sql)
{
    m_db.exec(sql);
}

void CompanyDb::firm(const Firm& f)
{
    kv::engine::Statement st(m_db, QStringLiteral("INSERT INTO firma(peno, nazev, ulice, misto,"
                                                  " okres, placena, psc, misto_id)"
                                                  " VALUES(?,?,?,?,?,?,?,?)"));
    st.bind(1, f.peno);
    st.bind(2, orNull(f.nazev));
    st.bind(3, orNull(f.ulice));
    st.bind(4, orNull(f.misto));
    st.bind(5, orNull(f.okres));
    st.bind(6, orNull(f.placena));
    st.bind(7, orNull(f.psc));
    st.bind(8, f.mistoId);
    st.step();
}

void CompanyDb::firm(qint64 peno, const QString& nazev, const QString& misto, int mistoId,
                     const QString& placena)
{
    Firm f;
    f.peno = peno;
    f.nazev = nazev;
    f.misto = misto;
    f.mistoId = mistoId;
    f.placena = placena;
    firm(f);
}

void CompanyDb::companySet()
{
    firm(1, QStringLiteral("Dobrá firma"), QStringLiteral("Praha"), 1);
    firm(2, QStringLiteral("Čech a syn"), QStringLiteral("Brno"), 2, QStringLiteral("A"));
    firm(3, QStringLiteral("Cyril s.r.o."), QStringLiteral("Ústí"), 3);
    firm(4, QStringLiteral("Chrudimská"), QStringLiteral("Praha"), 1);
    firm(5, QStringLiteral("Hrad a.s."), QStringLiteral("Brno"), 2, QStringLiteral("A"));
    firm(6, QStringLiteral("Ivan"), QStringLiteral("Cheb"), 4);
    firm(200219, QStringLiteral("Stavby Kvelta"), QStringLiteral("Praha"), 1);
    exec(QStringLiteral("UPDATE firma SET okres_id = CASE WHEN peno IN (3,6) THEN 7 ELSE 5 END;"
                        "UPDATE firma SET email='ivan@example.cz' WHERE peno=6;"
                        "UPDATE firma SET www='www.kvelta.cz' WHERE peno=200219;"));

    insert("osoby", {1, "Jan Novák, ředitel", "111", {}, {}, {}, 2});
    insert("osoby", {1, "Eva Malá", "222", {}, {}, {}, 1});
    insert("osoby", {2, "Petr Čech", {}, {}, {}, {}, 1});
    insert("pzatrid", {1, 1, 100, "Stavebnictví"});
    insert("pzatrid", {1, 2, 200, "Doprava"});
    insert("pzatrid", {2, 1, 100, "Stavebnictví"});
    insert("radky", {1, 2, "\tOmítky", 100});
    insert("radky", {1, 1, "\tZdění", 100});
    insert("radky", {1, 1, "\tKamiony", 200});
    insert("radky", {2, 1, "\tJeřáby", 100});

    insert("zatrid", {"200", "Doprava"});
    insert("zatrid", {"150", "Pozemní stavby"});
    insert("zatrid", {"100", "Stavebnictví"});
    const char* words[] = {"Stavby", "stavební", "Česká", "Stará", "Ostatní", "Čestná", "Cena"};
    int id = 1;
    for (const char* w : words)
        insert("slnazev", {id++, QString::fromUtf8(w)});
    for (int peno : {1, 2, 3})
        insert("slnazev_p", {5, peno});
    for (int peno : {2, 3, 4})
        insert("slnazev_p", {9, peno});
    insert("slUlice_p", {1, 6});
    insert("slRadky_p", {7, 5});
    insert("mista", {1, "Praha", 5});
    insert("mista", {4, "Cheb", 7});
    insert("mista", {2, "Brno", 5});
}

void CompanyDb::listSet()
{
    firm(Firm{1, "Beta", "", "Dlouhá 5", "Zlín", "76001", "Zlín", {}});
    firm(Firm{2, "Alfa", "A", "Krátká 1", "Brno", "60200", "Brno-město", {}});
    firm(Firm{3, "Gama", "X", "", "Aš", "35201", "Cheb", {}});
    firm(Firm{4, "Delta", "", "Nová 2", "Cheb", "35002", "Cheb", {}});
    firm(Firm{5, QString::fromUtf8("Čeněk"), "", "Polní 9", "Praha", "11000", "Praha", {}});
    firm(Firm{7, QString::fromUtf8("Stejná"), "A", "", "", "", "", {}});
    firm(Firm{8, QString::fromUtf8("Stejná"), "", "", "", "", "", {}});
    firm(Firm{9, "Mimo", "", "", "Brno", "", "", {}});
}

void CompanyDb::manyFirms(int count)
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

void CompanyDb::finish()
{
    kv::engine::finishDatabase(m_db);
    m_db.reloadCatalog();
}

void CompanyDb::done()
{
    m_db.close();
}

void CompanyDb::finishInto(const QString& target)
{
    finish();
    done();
    QFile::remove(target);
    EXPECT_TRUE(QFile::copy(path(), target)) << target.toStdString();
}

std::unique_ptr<kv::engine::Database> CompanyDb::openReadOnly(bool finished)
{
    if (m_db.isOpen()) { // else done before: the file as it was left
        if (finished)
            finish();
        done();
    }
    return std::make_unique<kv::engine::Database>(path());
}

kv::DataModule& CompanyDb::openDataModule(const QString& filter)
{
    EXPECT_TRUE(m_home) << "the data module needs a CompanyDb made as a data home";
    if (m_db.isOpen()) {
        finish();
        done();
    }
    m_dm = std::make_unique<kv::DataModule>();
    const kv::DataModule::OpenResult opened = m_dm->openDatabase();
    EXPECT_EQ(opened.status, kv::DataModule::OpenStatus::Opened) << opened.message.toStdString();
    if (m_dm->firms())
        m_dm->firms()->setFilter(filter, !filter.isEmpty());
    return *m_dm;
}

QString CompanyDb::lineAt(int position)
{
    return firms().rowAt(position).text(QStringLiteral("Prosez"));
}

void CompanyDb::change(const QString& path, const QString& sql, const QVariantList& values,
                       bool refinish)
{
    kv::engine::Database db(path, kv::engine::Database::Mode::ReadWrite);
    if (values.isEmpty()) {
        db.exec(sql);
    } else {
        kv::engine::Statement st(db, sql);
        for (qsizetype i = 0; i < values.size(); ++i)
            st.bind(int(i) + 1, values[i]);
        st.step();
    }
    if (refinish)
        kv::engine::finishDatabase(db);
}

QSet<int> firmsMatching(kv::engine::Database& db, const QString& filter)
{
    kv::engine::TableCursor c(db, QStringLiteral("firma"));
    c.setFilter(filter, true);
    c.open();
    QSet<int> out;
    for (; !c.eof(); c.next())
        out.insert(c.integer(QStringLiteral("peno")));
    EXPECT_EQ(out.size(), c.recordCount());
    return out;
}

} // namespace kvtest
