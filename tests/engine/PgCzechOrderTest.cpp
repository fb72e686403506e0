// Czech order on the server: the ICU collation the loader gives text
// columns sorts as the program's own collator does.
#include "tests/support/PgTestServer.h"

#include "engine/CzechText.h"
#include "engine/PgConnection.h"
#include "engine/PgCopyIn.h"
#include "engine/PgCzechCollation.h"

#include <algorithm>
#include <gtest/gtest.h>

using kv::engine::PgConnection;

TEST(PgCzechOrder, ServerOrderMatchesTheProgramsCollator)
{
    kvtest::PgTestDatabase db;
    PgConnection c(db.conninfo());
    kv::engine::PgCzechCollation::require(c);

    const QStringList names = {
        "Chrudim",  "Hradec",   "Cihla",   "Čáslav", "Cvikov", "Ústí", "Uherský", "Zlín", "Žatec",
        "Řevnice",  "Rakovník", "Šumperk", "Sušice", "chata",  "hrad", "Ída",     "Ivan", "Ňuk",
        "Nový",     "Ďáblice",  "Dobříš",  "Ťapka",  "Tábor",  "Éra",  "Eva",     "Ebro", "Áda",
        "Adam",     "Czech",    "Čech",    "CH",     "H",      "ch",   "h",       "i",    "Ivana",
        "Ivančice", "Ecce",     "Ěšín",    "Chýnov", "Dvůr",   "Důl",  "Dul"};
    c.exec(QStringLiteral("CREATE TABLE names (name text %1)")
               .arg(kv::engine::PgCzechCollation::clause()));
    {
        kv::engine::PgCopyIn copy(c, "names", {"name"});
        for (const QString& n : names) {
            copy.add(n);
            copy.endRow();
        }
        copy.finish();
    }
    QStringList expected = names;
    std::sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
        return kv::engine::CzechText::compare(a, b) < 0;
    });
    // Code point order differs, so the comparison below can fail.
    QStringList byCode = names;
    std::sort(byCode.begin(), byCode.end());
    ASSERT_NE(byCode, expected);

    const auto explicitOrder = c.query("SELECT name FROM names ORDER BY name COLLATE "
                                       "\"cs-CZ-x-icu\"");
    const auto columnOrder = c.query("SELECT name FROM names ORDER BY name");
    QStringList server, column;
    for (int r = 0; r < explicitOrder.rows(); ++r) {
        server << explicitOrder.text(r, 0);
        column << columnOrder.text(r, 0);
    }
    EXPECT_EQ(server, expected);
    EXPECT_EQ(column, expected) << "the column's own collation is the Czech one";
    EXPECT_GT(server.indexOf("Chrudim"), server.indexOf("Hradec")) << "ch after h";
    EXPECT_GT(server.indexOf("Čáslav"), server.indexOf("Cvikov")) << "č after c";
    EXPECT_LT(server.indexOf("Éra"), server.indexOf("Eva")) << "an accent is no letter of its own";

    // Comparisons use it too, not only ORDER BY.
    EXPECT_EQ(c.query("SELECT count(*) FROM names WHERE name > 'Hz'").int64(0, 0),
              std::count_if(names.begin(), names.end(), [](const QString& n) {
                  return kv::engine::CzechText::compare(n, "Hz") > 0;
              }));
}
