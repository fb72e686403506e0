#pragma once

#include "domain/DataModule.h"
#include "engine/Database.h"
#include "tests/support/TestHome.h"

#include <QString>
#include <memory>

namespace kvtest
{

// A throw-away data home with a company database holding every table the
// data module opens, and the data module opened on it. Program-wide state
// is fresh while the object lives and reset when it dies.
//
// The standard firms, by name in Czech order with their town:
//   peno 2 "Alfa" (paid "A", Brno), 1 "Beta" (Zlín), 5 "Čeněk" (Praha),
//   4 "Delta" (Cheb), 3 "Gama" (paid "X", Aš, no street);
//   by town: Gama, Alfa, Delta, Čeněk, Beta.
//   7 and 8 are both "Stejná", 7 paid, 8 not; 9 "Mimo" is outside the set.
class ListTestDb
{
public:
    ListTestDb();
    ~ListTestDb();

    struct Firm {
        int peno = 0;
        QString nazev;
        QString placena;
        QString ulice;
        QString misto;
        QString psc;
        QString okres;
    };
    void firm(const Firm& f);
    void standardFirms();
    // count firms numbered from 1 with names "Firma 0000001" and up; every
    // seventh one is paid. One transaction, so a million rows take seconds.
    void manyFirms(int count);

    // Adds ranks and indexes as the generators do, opens the data module and
    // installs filter (none when empty) on TFirma.
    kv::DataModule& open(const QString& filter = QStringLiteral("(peno in(1,2,3,4,5))"));
    kv::DataModule& dm() { return *m_dm; }
    kv::engine::TableCursor& firms() { return *m_dm->firms(); }
    QString lineAt(int position) { return firms().rowAt(position).text(QStringLiteral("Prosez")); }

private:
    TestHome m_home;
    kv::engine::Database m_db;
    std::unique_ptr<kv::DataModule> m_dm;
};

} // namespace kvtest
