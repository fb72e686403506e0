#include "tests/support/CompanyDb.h"

#include "engine/CzechText.h"
#include "engine/TableCursor.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <algorithm>

using namespace kv::engine;

namespace
{

constexpr int kFirms = 20000;

struct Firm {
    int peno;
    QString nazev;
    QString misto;
};

std::vector<Firm> makeFirms()
{
    const QStringList syllables{"ča", "Ch", "ch",  "ce",  "Dob", "ha", "hra", "Ř", "ří", "za",
                                "Ža", "st", "Sta", "vba", "ov",  "ná", "a",   "É", " ",  "Ú"};
    const QStringList towns{"Praha",          "Brno",     "Cheb",           "České Budějovice",
                            "Hradec Králové", "Chomutov", "Ústí nad Labem", "Žatec",
                            "Říčany",         "cheb"};
    QRandomGenerator rng(2001);
    std::vector<Firm> out;
    for (int i = 0; i < kFirms; ++i) {
        QString name;
        const int parts = 1 + int(rng.bounded(4));
        for (int p = 0; p < parts; ++p)
            name += syllables[int(rng.bounded(syllables.size()))];
        out.push_back({1000 + i * 3, name, towns[int(rng.bounded(towns.size()))]});
    }
    return out;
}

QList<int> walk(TableCursor& c)
{
    QList<int> out;
    for (c.first(); !c.eof(); c.next())
        out << c.integer("peno");
    return out;
}

} // namespace

TEST(LargeSet, RanksAndCollatorGiveTheSameOrderAndPositions)
{
    const std::vector<Firm> firms = makeFirms();
    kvtest::CompanyDb build;
    build.exec("BEGIN");
    for (const Firm& f : firms)
        build.firm(f.peno, f.nazev, f.misto, 1);
    build.exec("COMMIT");

    // Expected: Czech order, equal names in the order the rows were stored.
    std::vector<Firm> byName = firms;
    std::stable_sort(byName.begin(), byName.end(), [](const Firm& a, const Firm& b) {
        return CzechText::compare(a.nazev, b.nazev) < 0;
    });
    QList<int> expected;
    for (const Firm& f : byName)
        expected << f.peno;

    QString evenList;
    for (int i = 0; i < kFirms; i += 2)
        evenList += (evenList.isEmpty() ? "" : ",") + QString::number(firms[size_t(i)].peno);
    const QString filter = "(peno in (" + evenList + "))";

    QList<int> plainMisto;
    for (bool finished : {false, true}) {
        SCOPED_TRACE(finished ? "ranks" : "collator");
        if (finished)
            build.finish();
        Database db(build.path());
        EXPECT_EQ(db.hasRank("firma", "nazev"), finished);
        TableCursor c(db, "firma");
        c.setSort("nazev");
        c.open();
        ASSERT_EQ(c.recordCount(), kFirms);
        EXPECT_EQ(walk(c), expected);
        for (int p : {1, 2, 777, 12345, kFirms}) {
            c.setPosition(p);
            EXPECT_EQ(c.integer("peno"), expected[p - 1]);
            EXPECT_EQ(c.rowAt(kFirms + 1 - p).text("peno").toInt(), expected[kFirms - p]);
        }

        c.setFilter(filter, true);
        EXPECT_EQ(c.recordCount(), kFirms / 2);
        c.setSort("misto");
        const QList<int> misto = walk(c);
        for (qsizetype i = 1; i < misto.size(); ++i)
            ASSERT_LE(CzechText::compare(c.rowAt(int(i)).text("misto"),
                                         c.rowAt(int(i) + 1).text("misto")),
                      0);
        if (!finished)
            plainMisto = misto;
        else
            EXPECT_EQ(misto, plainMisto);
    }
}
