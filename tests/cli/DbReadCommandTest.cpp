// The headless commands reading the company data from a server: a demo home
// loaded with kvelta db load gives with --db the same counts, filters and
// export as the data home's own file; a server that is down, refuses the
// login or holds nothing ends with a clear message and exit code 1.
#include "tests/cli/PgLoadProbe.h"
#include "tests/support/DemoHome.h"

#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionState.h"
#include "engine/ServerDirectory.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

using Row = kv::SelectionState::Row;

class ServerReads : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        home = new QString(kvtest::demoHome(400));
        server = new kvtest::PgTestDatabase;
        const kvtest::LoadRun r = kvtest::dbLoad({"--home", *home, server->conninfo()});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
    }
    static void TearDownTestSuite()
    {
        delete server;
        delete home;
    }

    // The first column of a statement on the home's own file.
    static QStringList column(const QString& sql)
    {
        kv::engine::Database db(kvtest::companyDb(*home));
        kv::engine::Statement st(db, sql);
        QStringList out;
        while (st.step())
            out << st.text(0);
        return out;
    }

    QString save(const kv::SelectionState& state)
    {
        const QString path = dir.filePath(QStringLiteral("s%1.kvv").arg(++saved));
        kv::saveSelection(state, path);
        return path;
    }

    static kvtest::KveltaRun run(const QStringList& args) { return kvtest::runKvelta(args); }

    static QString* home;
    static kvtest::PgTestDatabase* server;
    QTemporaryDir dir;
    int saved = 0;
};

QString* ServerReads::home = nullptr;
kvtest::PgTestDatabase* ServerReads::server = nullptr;

} // namespace

TEST_F(ServerReads, CountAndFilterEqualTheDataHomesOwn)
{
    const QStringList words = column("SELECT p.id FROM slnazev_p p GROUP BY p.id "
                                     "ORDER BY count(*) DESC, p.id LIMIT 2");
    const QStringList town = column("SELECT misto_id FROM firma GROUP BY misto_id "
                                    "ORDER BY count(*) DESC, misto_id LIMIT 1");
    const QStringList district =
        column("SELECT okres_id FROM firma WHERE misto_id <> " + town.value(0) + " LIMIT 1");
    const QStringList industries = column("SELECT kod FROM pzatrid GROUP BY kod "
                                          "ORDER BY count(*) DESC, kod LIMIT 2");
    const QStringList streets = column("SELECT id FROM slulice_p GROUP BY id "
                                       "ORDER BY count(*) DESC, id LIMIT 1");
    const QStringList firms = column("SELECT peno FROM firma ORDER BY peno LIMIT 3 OFFSET 17");
    ASSERT_EQ(words.size(), 2);
    ASSERT_EQ(industries.size(), 2);
    ASSERT_FALSE(town.isEmpty() || district.isEmpty() || streets.isEmpty());
    ASSERT_EQ(firms.size(), 3);

    QList<kv::SelectionState> cases;
    kv::SelectionState s;
    s.row(Row::Nazev).add("w1", words[0]);
    cases << s; // one name word
    s.row(Row::Nazev).add("w2", words[1]);
    s.row(Row::Nazev).IsAnd = false;
    cases << s; // either word
    s.row(Row::Nazev).IsAnd = true;
    cases << s; // both words
    s.clear();
    s.rgLogMezi = 0;
    s.row(Row::Misto).add("town", town[0]);
    s.row(Row::Okres).add("district", district[0]);
    cases << s; // a town or a district
    s.clear();
    s.row(Row::Zatrid).add("i1", industries[0]);
    s.row(Row::Zatrid).add("i2", industries[1]);
    s.row(Row::Zatrid).IsAnd = false;
    s.row(Row::Misto).add("town", town[0]);
    cases << s; // an industry within a town
    s.clear();
    for (const QString& peno : firms)
        s.row(Row::Ico).add("firm", peno);
    cases << s; // chosen firms
    s.clear();
    s.row(Row::Ulice).add("street", streets[0]);
    s.cbEmail = true;
    cases << s; // a street, with e-mail
    s.clear();
    s.row(Row::Misto).add("town", town[0]);
    s.row(Row::Nazev).add("w1", words[0]);
    s.cbWWW = true;
    cases << s; // town, name word and web
    s.clear();
    s.row(Row::Nazev).add("none", "999999999");
    cases << s; // a word no firm has

    const QString url = server->conninfo();
    int nonEmpty = 0;
    for (const kv::SelectionState& state : cases) {
        const QString file = save(state);
        SCOPED_TRACE(file.toStdString());
        const kvtest::KveltaRun local = run({"count", "--home", *home, file});
        const kvtest::KveltaRun remote = run({"count", "--home", *home, "--db", url, file});
        ASSERT_FALSE(remote.crashed);
        EXPECT_EQ(remote.code, local.code) << remote.err.toStdString();
        EXPECT_EQ(remote.out, local.out);
        if (local.code == 0 && local.out.trimmed().toInt() > 0)
            ++nonEmpty;
        const kvtest::KveltaRun localFilter = run({"filter", "--home", *home, file});
        const kvtest::KveltaRun remoteFilter = run({"filter", "--home", *home, "--db", url, file});
        EXPECT_EQ(remoteFilter.code, localFilter.code) << remoteFilter.err.toStdString();
        EXPECT_EQ(remoteFilter.out, localFilter.out);
    }
    EXPECT_GE(nonEmpty, 7) << "the selections must find firms to compare";

    // Without a data home the server alone answers.
    const QString file = save(cases.first());
    const kvtest::KveltaRun bare = run({"count", "--db", url, file});
    EXPECT_EQ(bare.code, 0) << bare.err.toStdString();
    EXPECT_EQ(bare.out, run({"count", "--home", *home, file}).out);
}

TEST_F(ServerReads, ExportAndPrintReadTheServer)
{
    kv::SelectionState s;
    s.row(Row::Misto)
        .add("town", column("SELECT misto_id FROM firma GROUP BY misto_id "
                            "ORDER BY count(*) DESC LIMIT 1")
                         .value(0));
    const QString file = save(s);
    const QString local = dir.filePath("local.csv");
    const QString remote = dir.filePath("remote.csv");
    const kvtest::KveltaRun a =
        run({"export", "--home", *home, "--format", "csv", "-o", local, file});
    ASSERT_EQ(a.code, 0) << a.err.toStdString();
    const kvtest::KveltaRun b = run({"export", "--home", *home, "--db", server->conninfo(),
                                     "--format", "csv", "-o", remote, file});
    ASSERT_EQ(b.code, 0) << b.err.toStdString();
    EXPECT_EQ(b.out, a.out);
    QFile fa(local), fb(remote);
    ASSERT_TRUE(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
    EXPECT_EQ(fb.readAll(), fa.readAll()) << "same firms, same order, same fields";

    const QString pdf = dir.filePath("list.pdf");
    const kvtest::KveltaRun p =
        run({"print", "list", "--home", *home, "--db", server->conninfo(), "-o", pdf, file});
    EXPECT_EQ(p.code, 0) << p.err.toStdString();
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
}

TEST_F(ServerReads, ServerDownRefusedOrEmptySayWhyAndExitOne)
{
    kv::SelectionState s;
    s.row(Row::Ico).add("firm", "1");
    const QString file = save(s);

    QTemporaryDir noServer;
    kvtest::KveltaRun r =
        run({"count", "--db", QStringLiteral("host=%1 dbname=kv").arg(noServer.path()), file});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.startsWith("kvelta count: cannot reach the PostgreSQL server"))
        << r.err.toStdString();

    r = run({"count", "--db",
             QStringLiteral("postgresql://kv_locked:n0t-th3-pw@/postgres?host=%1")
                 .arg(kvtest::pgSocketDir()),
             file});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("refused the login of user \"kv_locked\"")) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("n0t-th3-pw"));

    kvtest::PgTestDatabase empty;
    r = run({"export", "--db", empty.conninfo(), "-o", dir.filePath("x.csv"), file});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("holds no loaded directory")) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("x.csv")));

    r = run(
        {"print", "list", "--home", *home, "--db", empty.conninfo(), "-o", dir.filePath("x.pdf")});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("holds no loaded directory")) << r.err.toStdString();

    r = run({"find", "--db", empty.conninfo(), "stavby"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("holds no loaded directory")) << r.err.toStdString();

    // The load names its target positionally only.
    r = run({"db", "load", "--home", *home, "--db", server->conninfo(), server->conninfo()});
    EXPECT_EQ(r.code, 2);
}

// Quick find on the server offers what the data home's own index offers,
// line for line, for names, towns, IČO digits, short words and no match.
TEST_F(ServerReads, FindEqualsTheDataHomesOwn)
{
    const QString name = column("SELECT nazev FROM firma ORDER BY peno LIMIT 1 OFFSET 5").value(0);
    const QString town = column("SELECT misto FROM firma ORDER BY peno LIMIT 1 OFFSET 9").value(0);
    const QString ico =
        column("SELECT ico FROM firma WHERE length(ico) > 4 ORDER BY peno LIMIT 1").value(0);
    ASSERT_FALSE(name.isEmpty() || town.isEmpty() || ico.isEmpty());
    int found = 0;
    for (const QString& text :
         {name, name.left(5).toUpper(), town.left(4), ico, ico.left(3), QStringLiteral("a"),
          QStringLiteral("s r"), QStringLiteral("xyzzyq"), QStringLiteral("%_\\")}) {
        const kvtest::KveltaRun own = run({"find", "--home", *home, "--limit", "20", text});
        const kvtest::KveltaRun onServer =
            run({"find", "--db", server->conninfo(), "--limit", "20", text});
        EXPECT_EQ(onServer.code, own.code) << text.toStdString() << onServer.err.toStdString();
        EXPECT_EQ(onServer.out, own.out) << text.toStdString();
        found += own.code == 0 ? 1 : 0;
    }
    EXPECT_GE(found, 6);
}

TEST_F(ServerReads, TheDataModuleOpensTheServerOrSaysWhyNot)
{
    kv::settings() = kv::Settings();
    kv::settings().dataHome = *home;
    kv::settings().database = server->conninfo();
    {
        kv::DataModule dm;
        const kv::DataModule::OpenResult opened = dm.openDatabase();
        ASSERT_EQ(opened.status, kv::DataModule::OpenStatus::Opened)
            << opened.message.toStdString();
        EXPECT_TRUE(dm.db().isServer());
        EXPECT_EQ(dm.quickFindSchema(), dm.db().directory()->version());
        dm.firms()->setFilter(QString(), false);
        EXPECT_EQ(dm.firms()->recordCount(), 400);
        EXPECT_FALSE(dm.firms()->text("nazev").isEmpty());
    }
    QTemporaryDir noServer;
    kv::settings().database = QStringLiteral("host=%1 dbname=kv").arg(noServer.path());
    kv::DataModule dm;
    const kv::DataModule::OpenResult failed = dm.openDatabase();
    EXPECT_EQ(failed.status, kv::DataModule::OpenStatus::OpenFailed);
    EXPECT_TRUE(failed.message.startsWith(kv::loadStr(19) + "\r\n"))
        << failed.message.toStdString();
    EXPECT_TRUE(failed.message.contains("cannot reach the PostgreSQL server"));
    EXPECT_FALSE(dm.ready());
    kv::settings() = kv::Settings();
}
