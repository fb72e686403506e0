#include "tests/support/CompanyDb.h"

#include "engine/CzechText.h"
#include "engine/TableCursor.h"
#include "tests/support/TestBackend.h"

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

// The stored ranks, the collator and the server's ICU collation give the
// same order and positions.
class LargeSet : public ::testing::TestWithParam<kvtest::BackendCase>
{
};

TEST_P(LargeSet, CzechOrderAndPositionsOnAnyEngine)
{
    const std::vector<Firm> firms = makeFirms();
    kvtest::CompanyDb build;
    build.exec("BEGIN");
    for (const Firm& f : firms)
        build.firm(f.peno, f.nazev, f.misto, 1);
    build.exec("COMMIT");

    // Expected: Czech order, equal texts in the order the rows were stored.
    const auto expectedBy = [](std::vector<Firm> rows, QString Firm::*field) {
        std::stable_sort(rows.begin(), rows.end(), [field](const Firm& a, const Firm& b) {
            return CzechText::compare(a.*field, b.*field) < 0;
        });
        QList<int> order;
        for (const Firm& f : rows)
            order << f.peno;
        return order;
    };
    const QList<int> expected = expectedBy(firms, &Firm::nazev);
    QString evenList;
    std::vector<Firm> even;
    for (int i = 0; i < kFirms; i += 2) {
        evenList += (evenList.isEmpty() ? "" : ",") + QString::number(firms[size_t(i)].peno);
        even.push_back(firms[size_t(i)]);
    }
    const QString filter = "(peno in (" + evenList + "))";

    kvtest::BackendDb on(build, GetParam());
    Database& db = on.db();
    // The server has the ranks its load copied from the finished file.
    EXPECT_EQ(db.hasRank("firma", "nazev"), GetParam().ranks);
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
    EXPECT_EQ(walk(c), expectedBy(even, &Firm::misto));
}

INSTANTIATE_TEST_SUITE_P(Backends, LargeSet, ::testing::ValuesIn(kvtest::backendCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });
