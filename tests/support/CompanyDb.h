#pragma once

#include "domain/DataModule.h"
#include "engine/Database.h"
#include "tests/support/TestHome.h"

#include <QSet>
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>
#include <memory>

namespace kvtest
{

// The one builder of company databases for the tests. It writes through the
// engine in builder mode, with every table of the program, either as a bare
// file in a temporary folder or inside a throw-away data home that the
// program's settings point at while the object lives. Files made elsewhere
// (copies of generated homes) are changed with change().
class CompanyDb
{
public:
    enum class Where { TemporaryFolder, DataHome };
    explicit CompanyDb(Where where = Where::TemporaryFolder);
    ~CompanyDb();

    QString path() const;
    // The data home (Where::DataHome only).
    QString home() const;

    struct Firm {
        qint64 peno = 0;
        QString nazev;
        QString placena;
        QString ulice;
        QString misto;
        QString psc;
        QString okres;
        QVariant mistoId; // null unless given
    };
    void firm(const Firm& f);
    void firm(qint64 peno, const QString& nazev, const QString& misto = QString(), int mistoId = 0,
              const QString& placena = QString());
    void insert(const QString& table, const QVariantList& values);
    void exec(const QString& sql);
    // The writing connection itself, for tests of what runs on it.
    kv::engine::Database& builder() { return m_db; }

    // Ready-made contents.
    //
    // companySet(): Czech order differs from code order ("Č" after "C", "Ch"
    // after "H"):
    //   peno    nazev          misto  misto_id okres_id placena  extra
    //   1       Dobrá firma    Praha  1        5                 2 persons, 2 industries
    //   2       Čech a syn     Brno   2        5        A        1 person, 1 industry
    //   3       Cyril s.r.o.   Ústí   3        7
    //   4       Chrudimská     Praha  1        5
    //   5       Hrad a.s.      Brno   2        5        A
    //   6       Ivan           Cheb   4        7                 email
    //   200219  Stavby Kvelta  Praha  1        5                 www
    void companySet();
    // listSet(), by name in Czech order with their town:
    //   peno 2 "Alfa" (paid "A", Brno), 1 "Beta" (Zlín), 5 "Čeněk" (Praha),
    //   4 "Delta" (Cheb), 3 "Gama" (paid "X", Aš, no street);
    //   by town: Gama, Alfa, Delta, Čeněk, Beta.
    //   7 and 8 are both "Stejná", 7 paid, 8 not; 9 "Mimo" is outside the set.
    void listSet();
    // count firms numbered from 1 with names "Firma 0000001" and up; every
    // seventh one is paid. One transaction, so a million rows take seconds.
    void manyFirms(int count);

    // Builds ranks and indexes as the generators do.
    void finish();
    // Closes the builder connection (the file stays).
    void done();
    // finish() and done(), then copies the file to target (a data home's
    // Dta/KV2001.db, say); the copy may be changed freely.
    void finishInto(const QString& target);

    // The read-only connection the program uses; `finished` adds the ranks
    // and indexes first (unless the builder is already done).
    std::unique_ptr<kv::engine::Database> openReadOnly(bool finished);
    // Finishes the file (unless done), opens the data module on the data
    // home, or on the server settings().database names, and installs filter
    // (none when empty) on the firms.
    kv::DataModule& openDataModule(const QString& filter = QStringLiteral("(peno in(1,2,3,4,5))"));
    kv::DataModule& dm() { return *m_dm; }
    kv::engine::TableCursor& firms() { return *m_dm->firms(); }
    QString lineAt(int position);

    // Runs statements on an existing database file behind the program's
    // back, binding values to the ?s in order; `refinish` rebuilds the
    // derived tables afterwards as the generators would.
    static void change(const QString& path, const QString& sql, const QVariantList& values = {},
                       bool refinish = false);

private:
    std::unique_ptr<TestHome> m_home;
    QTemporaryDir m_dir;
    kv::engine::Database m_db;
    std::unique_ptr<kv::DataModule> m_dm;
};

// The peno of every firm a filter keeps, read through a company cursor; also
// checks that the cursor's count agrees with the rows it walked.
QSet<int> firmsMatching(kv::engine::Database& db, const QString& filter);

} // namespace kvtest
