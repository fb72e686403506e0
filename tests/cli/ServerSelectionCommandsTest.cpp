// kvelta selection list|save|load, run as the real program: a selection file
// saved on the server and loaded back is the same selection (the same filter
// from kvelta filter, the same bytes), a taken name is kept unless replaced,
// and a missing name, a blank one or an unreachable server end with a clear
// message and the documented exit code.
#include "tests/cli/PgLoadProbe.h"
#include "tests/support/DemoHome.h"

#include "domain/SelectionFile.h"
#include "domain/SelectionState.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using kv::engine::PgConnection;
using Row = kv::SelectionState::Row;

namespace
{

QByteArray bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

kvtest::KveltaRun selection(const QStringList& args)
{
    return kvtest::runKvelta(QStringList{"selection"} + args);
}

} // namespace

TEST(ServerSelectionCommands, SavedAndLoadedBackGivesTheSameFilter)
{
    kvtest::PgTestDatabase db;
    QTemporaryDir dir;
    kv::SelectionState s;
    s.rgLogMezi = 1;
    s.cbEmail = true;
    s.row(Row::Misto).add(QStringLiteral("Praha"), QStringLiteral("2516"));
    s.row(Row::Okres).add(QStringLiteral("Benešov"), QStringLiteral("2"));
    // The name word's text is only shown; its key 1 ("s.r.o.") finds firms.
    s.row(Row::Nazev).add(QStringLiteral("O'Brien \"a\" Říčany"), QStringLiteral("1"));
    const QString original = dir.filePath("original.kvv");
    kv::saveSelection(s, original);
    const QString name = QStringLiteral("Praha a Benešov – 'e-mail' \"x\"");

    const auto saved = selection({"save", "--db", db.conninfo(), name, original});
    ASSERT_EQ(saved.code, 0) << saved.err.toStdString();
    EXPECT_TRUE(saved.out.startsWith("Saved \"" + name + "\"")) << saved.out.toStdString();

    const auto listed = selection({"list", "--db", db.conninfo()});
    ASSERT_EQ(listed.code, 0) << listed.err.toStdString();
    const QStringList fields = listed.out.trimmed().split(u'\t');
    ASSERT_EQ(fields.size(), 3) << listed.out.toStdString();
    EXPECT_EQ(fields[0], name);
    EXPECT_TRUE(QDateTime::fromString(fields[2], Qt::ISODate).isValid())
        << listed.out.toStdString();

    const QString back = dir.filePath("back.kvv");
    const auto loaded = selection({"load", "--db", db.conninfo(), name, "-o", back});
    ASSERT_EQ(loaded.code, 0) << loaded.err.toStdString();
    EXPECT_EQ(bytes(back), bytes(original));

    const QString home = kvtest::selectionDemoHome();
    const auto before = kvtest::runKvelta({"filter", "--home", home, original});
    const auto after = kvtest::runKvelta({"filter", "--home", home, back});
    ASSERT_EQ(before.code, 0) << before.err.toStdString();
    EXPECT_TRUE(before.out.contains("misto_id in(2516)")) << before.out.toStdString();
    EXPECT_TRUE(before.out.contains("peno in (")) << before.out.toStdString();
    EXPECT_EQ(after.code, 0) << after.err.toStdString();
    EXPECT_EQ(after.out, before.out);
}

TEST(ServerSelectionCommands, ATakenNameIsReplacedOnlyWhenAsked)
{
    kvtest::PgTestDatabase db;
    QTemporaryDir dir;
    kv::SelectionState first, second;
    first.row(Row::Misto).add(QStringLiteral("Praha"), QStringLiteral("2516"));
    second.row(Row::Okres).add(QStringLiteral("Benešov"), QStringLiteral("2"));
    const QString a = dir.filePath("a.kvv"), b = dir.filePath("b.kvv"), out = dir.filePath("o.kvv");
    kv::saveSelection(first, a);
    kv::saveSelection(second, b);

    ASSERT_EQ(selection({"save", "--db", db.conninfo(), "Týden", a}).code, 0);
    const auto taken = selection({"save", "--db", db.conninfo(), "Týden", b});
    EXPECT_EQ(taken.code, 1);
    EXPECT_TRUE(taken.err.contains("--replace")) << taken.err.toStdString();
    ASSERT_EQ(selection({"load", "--db", db.conninfo(), "Týden", "-o", out}).code, 0);
    EXPECT_EQ(bytes(out), bytes(a));

    const auto replaced = selection({"save", "--db", db.conninfo(), "--replace", "Týden", b});
    EXPECT_EQ(replaced.code, 0) << replaced.err.toStdString();
    EXPECT_TRUE(replaced.out.startsWith("Replaced")) << replaced.out.toStdString();
    ASSERT_EQ(selection({"load", "--db", db.conninfo(), "Týden", "-o", out}).code, 0);
    EXPECT_EQ(bytes(out), bytes(b));
}

TEST(ServerSelectionCommands, MissingBlankOrUnreachableEndWithTheirCodes)
{
    kvtest::PgTestDatabase db;
    QTemporaryDir dir;
    const QString file = dir.filePath("a.kvv");
    kv::saveSelection(kv::SelectionState(), file);

    const auto missing =
        selection({"load", "--db", db.conninfo(), "nikde", "-o", dir.filePath("x.kvv")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains("no selection \"nikde\"")) << missing.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("x.kvv")));

    const auto blank = selection({"save", "--db", db.conninfo(), "  ", file});
    EXPECT_EQ(blank.code, 2);
    EXPECT_TRUE(blank.err.contains("must not be empty")) << blank.err.toStdString();

    const auto noServer = selection({"list"});
    EXPECT_EQ(noServer.code, 2);
    EXPECT_TRUE(noServer.err.contains("no server")) << noServer.err.toStdString();

    QTemporaryDir empty;
    const auto down =
        selection({"list", "--db", QStringLiteral("host=%1 dbname=x").arg(empty.path())});
    EXPECT_EQ(down.code, 1);
    EXPECT_TRUE(down.err.contains("cannot reach the PostgreSQL server")) << down.err.toStdString();

    const auto notAFile = selection({"save", "--db", db.conninfo(), "x", dir.filePath("none.kvv")});
    EXPECT_EQ(notAFile.code, 2);
    // None of these created anything on the server.
    PgConnection c(db.conninfo());
    EXPECT_EQ(c.query("SELECT to_regclass('kvelta.selections') IS NULL").text(0, 0), "t");
}

TEST(ServerSelectionCommands, DbLoadSetsThemUpAndLaterLoadsKeepThem)
{
    kvtest::PgTestDatabase db;
    QTemporaryDir dir;
    const QString home = kvtest::demoHome(60);
    ASSERT_EQ(kvtest::dbLoad({"--home", home, db.conninfo()}).code, 0);
    PgConnection c(db.conninfo());
    EXPECT_EQ(
        c.query("SELECT relrowsecurity FROM pg_class WHERE oid = 'kvelta.selections'::regclass")
            .text(0, 0),
        "t");
    EXPECT_EQ(
        c.query("SELECT count(*) FROM pg_roles WHERE rolname = 'kvelta_selections'").int64(0, 0),
        1);

    kv::SelectionState s;
    s.row(Row::Misto).add(QStringLiteral("Praha"), QStringLiteral("2516"));
    const QString file = dir.filePath("a.kvv"), back = dir.filePath("b.kvv");
    kv::saveSelection(s, file);
    ASSERT_EQ(selection({"save", "--db", db.conninfo(), "Praha", file}).code, 0);
    ASSERT_EQ(kvtest::dbLoad({"--home", home, "--wait", "0", db.conninfo()}).code, 0);
    ASSERT_EQ(selection({"load", "--db", db.conninfo(), "Praha", "-o", back}).code, 0);
    EXPECT_EQ(bytes(back), bytes(file));
}
