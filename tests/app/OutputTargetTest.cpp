// Where a written file may go: notes never through a link, outputs never
// onto a device, a FIFO, a socket or one of the command's own inputs, and
// drafts that a killed run leaves are cleared by the next write.
#include "core/Error.h"
#include "core/Settings.h"
#include "domain/LabelSettings.h"
#include "domain/NoteCondition.h"
#include "domain/NoteFile.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionState.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DemoHomeTestSupport.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/FileProbe.h"
#include "tests/support/KveltaRun.h"
#include "tests/support/PdfProbe.h"
#include "tests/support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

using kvtest::bytesOf;

namespace
{

using kvtest::folderNames;
using kvtest::runKvelta;

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

mode_t typeOf(const QString& path)
{
    struct stat st {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

// A writable data home with the demo database and an empty Pozn/.
class OwnHome : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* sub : {"Dta", "Pozn", "Log", "RK", "Prez"})
            QDir().mkpath(home.file(QLatin1String(sub)));
        ASSERT_TRUE(QFile::copy(QDir(kvtest::demoHome(40)).filePath("Dta/KV2001.db"),
                                home.file("Dta/KV2001.db")));
        peno = int(kvtest::DemoDb(home.file("Dta/KV2001.db")).count("select min(peno) from firma"));
        ASSERT_GT(peno, 0);
        kv::settings() = kv::Settings();
        kv::settings().dataHome = home.path();
    }
    void TearDown() override { kv::settings() = kv::Settings(); }
    QString note() const { return home.file(QStringLiteral("Pozn/%1.tx").arg(peno)); }
    QString db() const { return home.file("Dta/KV2001.db"); }

    kvtest::TestHome home;
    QTemporaryDir outside;
    int peno = 0;
};

} // namespace

TEST_F(OwnHome, NoteThatIsALinkIsNeitherReadNorWrittenThrough)
{
    const QString secret = outside.filePath("secret.txt");
    put(secret, "TAJNE-HESLO-42\r\n");
    ASSERT_TRUE(QFile::link(secret, note()));

    // Reading: the profile, the printed list and profiles, the note criterion.
    EXPECT_FALSE(kv::NoteFile::exists(peno));
    EXPECT_TRUE(kv::NoteFile::lines(peno).isEmpty());
    EXPECT_EQ(kv::NoteCondition(home.file("Pozn")), QString());
    const QString pdf = outside.filePath("list.pdf");
    for (const char* kind : {"list", "profiles"}) {
        SCOPED_TRACE(kind);
        QStringList args{"print", QLatin1String(kind), "--home", home.path(), "-o", pdf};
        if (QLatin1String(kind) == QLatin1String("list"))
            args << "--items"
                 << "pozn";
        const auto r = runKvelta(args);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_FALSE(kvtest::pdfText(pdf).contains("TAJNE-HESLO-42")) << "a linked file was read";
    }

    // Writing: refused, the linked file and the link stay as they were.
    EXPECT_KV_ERROR(kv::NoteFile::save(peno, QStringLiteral("přepsáno")), File);
    EXPECT_EQ(bytesOf(secret), QByteArray("TAJNE-HESLO-42\r\n"));
    EXPECT_EQ(typeOf(note()), mode_t(S_IFLNK));
    // A FIFO in a note's place neither blocks nor counts as a note.
    QFile::remove(note());
    ASSERT_EQ(::mkfifo(QFile::encodeName(note()).constData(), 0600), 0);
    EXPECT_TRUE(kv::NoteFile::lines(peno).isEmpty());
    EXPECT_FALSE(kv::NoteFile::exists(peno));
    QFile::remove(note());
    // A regular note still round-trips, byte-exact.
    kv::NoteFile::save(peno, QStringLiteral("Řádek\nDruhý"));
    EXPECT_EQ(bytesOf(note()), QByteArray("\xD8\xE1\x64\x65k\r\nDruh\xFD\r\n"));
    EXPECT_EQ(kv::NoteFile::lines(peno), QStringList({"Řádek", "Druhý"}));
}

TEST_F(OwnHome, OutputThatIsNoRegularFileIsRefusedAndLeftAlone)
{
    const QString fifo = outside.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QLocalServer socket;
    ASSERT_TRUE(socket.listen(outside.filePath("socket")));
    QStringList nodes{fifo, outside.filePath("socket")};
    if (::geteuid() == 0) {
        const QString device = outside.filePath("null");
        if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0)
            nodes << device;
    }
    const QString folderLink = outside.filePath("folder");
    ASSERT_TRUE(QDir().mkpath(folderLink));
    nodes << folderLink;
    const QString linkToFifo = outside.filePath("link-to-fifo");
    ASSERT_TRUE(QFile::link(fifo, linkToFifo));
    nodes << linkToFifo;

    for (const QString& node : std::as_const(nodes)) {
        SCOPED_TRACE(node.toStdString());
        const mode_t before = typeOf(node);
        for (const QStringList& args :
             {QStringList{"export", "--home", home.path(), "-o", node},
              QStringList{"print", "list", "--home", home.path(), "-o", node},
              QStringList{"config", "--config", node, "--set", "Lang=1"}}) {
            const auto r = runKvelta(args);
            EXPECT_NE(r.code, 0) << args.join(' ').toStdString();
            EXPECT_FALSE(r.err.isEmpty());
            EXPECT_EQ(typeOf(node), before) << "the node was replaced";
        }
    }

    // A link to a regular file: that file is replaced, the link kept.
    const QString real = outside.filePath("real.txt");
    put(real, "earlier");
    const QString link = outside.filePath("link.txt");
    ASSERT_TRUE(QFile::link(real, link));
    const auto r = runKvelta({"export", "--home", home.path(), "-o", link});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(typeOf(link), mode_t(S_IFLNK));
    EXPECT_NE(bytesOf(real), QByteArray("earlier"));
}

TEST_F(OwnHome, OutputThatIsAnInputIsRefused)
{
    const QByteArray database = bytesOf(db());
    // The selection file and the label file the command reads.
    const QString selection = outside.filePath("a.kvv");
    const QString labels = outside.filePath("a.kl");
    kv::saveSelection(kv::SelectionState(), selection); // nothing chosen: the whole table
    kv::LabelFile::save(kv::LabelSettings(), labels);
    const QString dbLink = outside.filePath("db-link");
    ASSERT_TRUE(QFile::link(db(), dbLink));
    const QString otherSpelling = home.file("Dta/../Pozn/../Dta/KV2001.db");

    const QList<QStringList> runs{
        {"export", "--home", home.path(), "-o", db()},
        {"export", "--home", home.path(), "-o", dbLink},
        {"export", "--home", home.path(), "-o", otherSpelling},
        {"print", "list", "--home", home.path(), "-o", otherSpelling},
        {"print", "profiles", "--home", home.path(), "-o", dbLink},
        {"export", "--home", home.path(), selection, "-o", selection},
        {"print", "list", "--home", home.path(), selection, "-o", selection},
        {"print", "labels", "--home", home.path(), "--labels", labels, "-o", labels},
        {"oxo-pack", "--key", "0x0B", labels, labels},
    };
    for (const QStringList& args : runs) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const QByteArray sel = bytesOf(selection), lab = bytesOf(labels);
        const auto r = runKvelta(args);
        EXPECT_NE(r.code, 0);
        EXPECT_TRUE(r.err.contains("input")) << r.err.toStdString();
        EXPECT_EQ(bytesOf(db()), database);
        EXPECT_EQ(bytesOf(labels), lab);
        EXPECT_EQ(bytesOf(selection), sel);
    }
    EXPECT_EQ(runKvelta({"export", "--home", home.path(), "-o", outside.filePath("e.txt")}).code, 0)
        << "the database is still read";
}

TEST_F(OwnHome, KilledRunsLeaveDraftsThatTheNextWriteRemoves)
{
    // A pid that has ended.
    QProcess gone;
    gone.start("true");
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    QTemporaryDir work;
    const QString tmp = QDir(work.path()).filePath("tmp"), out = QDir(work.path()).filePath("out");
    QDir().mkpath(tmp);
    QDir().mkpath(out);
    const QString target = QDir(out).filePath("list.pdf");

    // A print killed while it writes leaves nothing in TMPDIR.
    kvtest::Fault kill;
    kill.dir = work.path();
    kill.kill = true;
    QProcessEnvironment env = kvtest::faultEnvironment(kill);
    env.insert("TMPDIR", tmp);
    const auto killed = runKvelta({"print", "list", "--home", home.path(), "-o", target}, env);
    EXPECT_TRUE(killed.crashed);
    EXPECT_EQ(folderNames(tmp), QStringList()) << "a draft left in TMPDIR";

    // Leftovers: of a process that is gone, and an old one of a living one.
    const QString dead =
        QDir(out).filePath(QStringLiteral(".list.pdf.kvdraft-%1-abc123").arg(deadPid));
    const QString old = QDir(out).filePath(QStringLiteral(".x.kvdraft-%1-00ff00").arg(::getpid()));
    const QString fresh =
        QDir(out).filePath(QStringLiteral(".y.kvdraft-%1-0a0b0c").arg(::getpid()));
    for (const QString& f : {dead, old, fresh})
        put(f, "partial");
    QFile o(old);
    ASSERT_TRUE(o.open(QIODevice::ReadWrite));
    ASSERT_TRUE(o.setFileTime(QDateTime::currentDateTime().addSecs(-7200),
                              QFileDevice::FileModificationTime));
    o.close();
    const auto r = runKvelta({"print", "list", "--home", home.path(), "-o", target});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(dead));
    EXPECT_FALSE(QFile::exists(old));
    EXPECT_TRUE(QFile::exists(fresh)) << "a draft of a living run was taken";
    QFile::remove(fresh);
    EXPECT_EQ(folderNames(out), QStringList{"list.pdf"});

    // An import killed half way: the next import clears its partial file.
    const QString imports = QDir(work.path()).filePath("import");
    QDir().mkpath(imports);
    kvtest::Fault importKill;
    importKill.dir = imports;
    importKill.kill = true;
    importKill.at = 3;
    const QString mdb = QStringLiteral(KV_JET_SAMPLES "/testV1997.mdb");
    EXPECT_TRUE(runKvelta({"import-mdb", mdb, imports + "/KV2001.db"}, importKill).crashed);
    EXPECT_FALSE(folderNames(imports).isEmpty()) << "the kill came too late to test anything";
    const auto again = runKvelta({"import-mdb", mdb, imports + "/KV2001.db"});
    EXPECT_EQ(again.code, 3) << again.err.toStdString(); // not a company database, imported
    EXPECT_EQ(folderNames(imports), QStringList{"KV2001.db"});
}
