// The loader on a hand-made SQLite file: every plain table arrives with its
// types, keys and plain indexes; SQLite's own, virtual and derived tables
// stay behind; progress is reported per table in order.
#include "tests/support/PgTestServer.h"

#include "core/Error.h"
#include "engine/Database.h"
#include "engine/PgConnection.h"
#include "engine/PgDirectoryLoader.h"
#include "engine/Statement.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

using kv::engine::Database;
using kv::engine::PgConnection;

namespace
{

QString typeOf(PgConnection& c, const QString& schema, const QString& table, const QString& column)
{
    return c
        .query("SELECT data_type FROM information_schema.columns WHERE table_schema = $1 "
               "AND table_name = $2 AND column_name = $3",
               {schema, table, column})
        .text(0, 0);
}

} // namespace

TEST(PgDirectoryLoader, CopiesPlainTablesWithTypesKeysAndIndexes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("source.db");
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    {
        Database w(path, Database::Mode::Create);
        w.exec("CREATE TABLE firma (peno INTEGER PRIMARY KEY, nazev TEXT);"
               "CREATE INDEX ix_lower ON firma (lower(nazev));"
               "CREATE TABLE \"odd \"\"name\"\"\" (\"we ird\" TEXT, r REAL, b BLOB, n NUMERIC, "
               "x, PRIMARY KEY (\"we ird\", r));"
               "CREATE UNIQUE INDEX ux_r ON \"odd \"\"name\"\"\" (r);"
               "CREATE VIRTUAL TABLE words USING fts5 (a);"
               "CREATE TABLE kv_rank_firma (peno INTEGER, rank INTEGER);"
               "INSERT INTO firma VALUES (5000000000, 'Čáp\tand\\tab'), (7, NULL);"
               "INSERT INTO words VALUES ('slovo');"
               "INSERT INTO kv_rank_firma VALUES (7, 1)");
        kv::engine::Statement ins(w,
                                  "INSERT INTO \"odd \"\"name\"\"\" VALUES (?1, ?2, ?3, ?4, ?5)");
        ins.bind(1, QStringLiteral("key"));
        ins.bind(2, QVariant(1.5e300));
        ins.bind(3, bytes);
        ins.bind(4, QVariant(12.25));
        ins.bind(5, QStringLiteral("any"));
        ins.step();
    }
    kvtest::PgTestDatabase db;
    PgConnection c(db.conninfo());
    Database source(path);
    kv::engine::PgDirectoryLoader loader(source, c);
    QStringList calls;
    loader.setProgress([&](int table, int tables, const QString& name, qint64 rows, bool done) {
        calls << QStringLiteral("%1/%2 %3 %4%5")
                     .arg(table)
                     .arg(tables)
                     .arg(name)
                     .arg(rows)
                     .arg(done ? "." : "");
    });
    const auto result = loader.run(path);
    EXPECT_EQ(calls, QStringList({"1/2 firma 0", "1/2 firma 2.", "2/2 odd \"name\" 0",
                                  "2/2 odd \"name\" 1."}));
    ASSERT_EQ(result.rows.size(), 2u);
    EXPECT_TRUE(result.previous.isEmpty());
    const QString s = result.schema;
    EXPECT_EQ(c.query("SELECT schema_name FROM kvelta.version").text(0, 0), s);
    EXPECT_EQ(c.query("SELECT count(*) FROM information_schema.tables WHERE table_schema = $1", {s})
                  .int64(0, 0),
              2);

    EXPECT_EQ(typeOf(c, s, "firma", "peno"), "bigint");
    EXPECT_EQ(typeOf(c, s, "firma", "nazev"), "text");
    EXPECT_EQ(typeOf(c, s, "odd \"name\"", "r"), "double precision");
    EXPECT_EQ(typeOf(c, s, "odd \"name\"", "b"), "bytea");
    EXPECT_EQ(typeOf(c, s, "odd \"name\"", "n"), "numeric");
    EXPECT_EQ(typeOf(c, s, "odd \"name\"", "x"), "text");

    const auto firms = c.query(
        QStringLiteral("SELECT peno, nazev FROM %1.firma ORDER BY peno").arg(c.identifier(s)));
    ASSERT_EQ(firms.rows(), 2);
    EXPECT_TRUE(firms.isNull(0, 1));
    EXPECT_EQ(firms.int64(1, 0), 5000000000);
    EXPECT_EQ(firms.text(1, 1), "Čáp\tand\\tab");
    const auto odd = c.query(QStringLiteral("SELECT \"we ird\", r = 1.5e300, encode(b, 'hex'), "
                                            "n, x FROM %1.\"odd \"\"name\"\"\"")
                                 .arg(c.identifier(s)));
    ASSERT_EQ(odd.rows(), 1);
    EXPECT_EQ(odd.text(0, 0), "key");
    EXPECT_EQ(odd.text(0, 1), "t");
    EXPECT_EQ(odd.text(0, 2), QString::fromLatin1(bytes.toHex()));
    EXPECT_EQ(odd.text(0, 3), "12.25");
    EXPECT_EQ(odd.text(0, 4), "any");

    // Every row carries its SQLite rowid (here the integer key itself).
    EXPECT_EQ(c.query(QStringLiteral("SELECT count(*) FROM %1.firma WHERE kv_rowid = peno")
                          .arg(c.identifier(s)))
                  .int64(0, 0),
              2);

    // Keys, the row ids and the plain unique index, not the expression index.
    const auto indexes = c.query("SELECT indexname FROM pg_indexes WHERE schemaname = $1 "
                                 "ORDER BY indexname",
                                 {s});
    QStringList names;
    for (int r = 0; r < indexes.rows(); ++r)
        names << indexes.text(r, 0);
    EXPECT_EQ(names, QStringList({"firma_kv_rowid", "firma_pkey", "odd \"name\"_kv_rowid",
                                  "odd \"name\"_pkey", "ux_r"}));
    EXPECT_EQ(c.tryQuery(QStringLiteral("INSERT INTO %1.\"odd \"\"name\"\"\" (\"we ird\", r, "
                                        "kv_rowid) VALUES ('other', 1.5e300, 99)")
                             .arg(c.identifier(s)))
                  .sqlState(),
              "23505");
}

// SQLite keeps whatever a row was given, whatever its column's type: a
// whole number stored as a real and a NUL inside a text go in (the NUL
// dropped and reported); a value the server's column cannot hold stops the
// load with the table, column and row, leaving the current version alone.
TEST(PgDirectoryLoader, HostileValuesGoInOrStopTheLoadNamingTheRow)
{
    QTemporaryDir dir;
    const auto make = [&](const QString& file, const QString& extra) {
        const QString path = dir.filePath(file);
        Database w(path, Database::Mode::Create);
        w.exec("CREATE TABLE firma (peno INTEGER PRIMARY KEY, misto_id INTEGER, nazev TEXT, "
               "r REAL);"
               "INSERT INTO firma VALUES (1, 3.0, 'a', 2), (2, 5, 'b', '2.5');" +
               extra);
        kv::engine::Statement ins(w, "INSERT INTO firma VALUES (3, 7, ?1, NULL)");
        ins.bind(1, QStringLiteral("před") + QChar(0) + QStringLiteral("po"));
        ins.step();
        return path;
    };
    kvtest::PgTestDatabase db;
    PgConnection c(db.conninfo());

    const QString good = make("good.db", QString());
    Database source(good);
    kv::engine::PgDirectoryLoader loader(source, c);
    QStringList notes;
    loader.setNote([&](const QString& line) { notes << line; });
    const QString schema = loader.run(good).schema;
    const auto rows =
        c.query(QStringLiteral("SELECT misto_id, nazev, r FROM %1.firma ORDER BY peno")
                    .arg(c.identifier(schema)));
    ASSERT_EQ(rows.rows(), 3);
    EXPECT_EQ(rows.int64(0, 0), 3);
    EXPECT_EQ(rows.text(1, 2), "2.5");
    EXPECT_EQ(rows.text(2, 1), "předpo");
    EXPECT_TRUE(notes.contains("firma.nazev: NUL characters removed from 1 texts"))
        << notes.join('\n').toStdString();

    for (const auto& [file, extra, says] :
         {std::tuple{"fraction.db", "INSERT INTO firma VALUES (9, 2.5, 'x', 1)",
                     "firma.misto_id, row 9: \"2.5\" is not a whole number"},
          std::tuple{"word.db", "INSERT INTO firma VALUES (11, 'Praha', 'x', 1)",
                     "firma.misto_id, row 11: \"Praha\" is not a whole number"},
          std::tuple{"huge.db", "INSERT INTO firma VALUES (12, 1e300, 'x', 1)",
                     "firma.misto_id, row 12:"},
          std::tuple{"real.db", "INSERT INTO firma VALUES (13, 1, 'x', 'many')",
                     "firma.r, row 13: \"many\" is not a number"}}) {
        SCOPED_TRACE(file);
        const QString path = make(file, extra);
        Database bad(path);
        kv::engine::PgDirectoryLoader refused(bad, c);
        try {
            refused.run(path);
            ADD_FAILURE() << "loaded";
        } catch (const kv::Error& e) {
            EXPECT_TRUE(e.message().startsWith(says)) << e.message().toStdString();
        }
        EXPECT_EQ(c.query("SELECT schema_name FROM kvelta.version").text(0, 0), schema);
    }
}
