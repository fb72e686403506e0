#include "tests/support/CompanyFixture.h"

#include "engine/TableCursor.h"

#include <gtest/gtest.h>

namespace kvtest
{

void fillCompany(EngineTestDb& db)
{
    db.firm(1, QStringLiteral("Dobrá firma"), QStringLiteral("Praha"), 1);
    db.firm(2, QStringLiteral("Čech a syn"), QStringLiteral("Brno"), 2, QStringLiteral("A"));
    db.firm(3, QStringLiteral("Cyril s.r.o."), QStringLiteral("Ústí"), 3);
    db.firm(4, QStringLiteral("Chrudimská"), QStringLiteral("Praha"), 1);
    db.firm(5, QStringLiteral("Hrad a.s."), QStringLiteral("Brno"), 2, QStringLiteral("A"));
    db.firm(6, QStringLiteral("Ivan"), QStringLiteral("Cheb"), 4);
    db.firm(200219, QStringLiteral("Stavby Kvelta"), QStringLiteral("Praha"), 1);
    db.exec(QStringLiteral("UPDATE firma SET okres_id = CASE WHEN peno IN (3,6) THEN 7 ELSE 5 END;"
                           "UPDATE firma SET email='ivan@example.cz' WHERE peno=6;"
                           "UPDATE firma SET www='www.kvelta.cz' WHERE peno=200219;"));

    db.insert("osoby", {1, "Jan Novák, ředitel", "111", {}, {}, {}, 2});
    db.insert("osoby", {1, "Eva Malá", "222", {}, {}, {}, 1});
    db.insert("osoby", {2, "Petr Čech", {}, {}, {}, {}, 1});
    db.insert("pzatrid", {1, 1, 100, "Stavebnictví"});
    db.insert("pzatrid", {1, 2, 200, "Doprava"});
    db.insert("pzatrid", {2, 1, 100, "Stavebnictví"});
    db.insert("radky", {1, 2, "\tOmítky", 100});
    db.insert("radky", {1, 1, "\tZdění", 100});
    db.insert("radky", {1, 1, "\tKamiony", 200});
    db.insert("radky", {2, 1, "\tJeřáby", 100});

    db.insert("zatrid", {"200", "Doprava"});
    db.insert("zatrid", {"150", "Pozemní stavby"});
    db.insert("zatrid", {"100", "Stavebnictví"});
    const char* words[] = {"Stavby", "stavební", "Česká", "Stará", "Ostatní", "Čestná", "Cena"};
    int id = 1;
    for (const char* w : words)
        db.insert("slnazev", {id++, QString::fromUtf8(w)});
    for (int peno : {1, 2, 3})
        db.insert("slnazev_p", {5, peno});
    for (int peno : {2, 3, 4})
        db.insert("slnazev_p", {9, peno});
    db.insert("slUlice_p", {1, 6});
    db.insert("slRadky_p", {7, 5});
    db.insert("mista", {1, "Praha", 5});
    db.insert("mista", {4, "Cheb", 7});
    db.insert("mista", {2, "Brno", 5});
}

std::unique_ptr<kv::engine::Database> openCompany(EngineTestDb& db, bool finished)
{
    if (finished)
        db.finish();
    db.done();
    return std::make_unique<kv::engine::Database>(db.path());
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
