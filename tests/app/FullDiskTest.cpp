// A full or failing disk under every command that writes a user file: the
// real executable runs under the fault-injection preload library, which
// makes write, fsync or close fail on the output's folder. The earlier file
// must stay byte for byte, no draft may be left, the reason must be told in
// the system's words and the exit code must say failure.
#include "tests/support/DemoHome.h"
#include "tests/support/FileProbe.h"
#include "tests/support/KveltaRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <unistd.h>

#include <gtest/gtest.h>

using kvtest::bytesOf;

namespace
{

using kvtest::Fault;
using kvtest::folderNames;
using kvtest::runKvelta;

// One writer: the arguments that write `target`, run twice (the second run
// with another setting, so that it has something new to write).
struct Writer {
    const char* name;
    QStringList (*args)(const QString& home, const QString& dir, int round);
};

QString file(const QString& dir, const char* name)
{
    return QDir(dir).filePath(QLatin1String(name));
}

const Writer writers[] = {
    {"export",
     [](const QString& home, const QString& dir, int round) {
         return QStringList{
             "export", "--home",        home, "--items", round ? "nazev,tel" : "nazev",
             "-o",     file(dir, "out")};
     }},
    {"export csv",
     [](const QString& home, const QString& dir, int round) {
         return QStringList{"export",
                            "--home",
                            home,
                            "--format",
                            "csv",
                            "--items",
                            round ? "nazev,tel" : "nazev",
                            "-o",
                            file(dir, "out")};
     }},
    {"export xlsx",
     [](const QString& home, const QString& dir, int round) {
         // libxlsxwriter writes the draft; the safe writer commits it.
         return QStringList{"export",
                            "--home",
                            home,
                            "--format",
                            "xlsx",
                            "--items",
                            round ? "nazev,tel" : "nazev",
                            "-o",
                            file(dir, "out")};
     }},
    {"print list",
     [](const QString& home, const QString& dir, int round) {
         return QStringList{"print", "list",          "--home",
                            home,    "--items",       round ? "tel" : "fax",
                            "-o",    file(dir, "out")};
     }},
    {"print profiles",
     [](const QString& home, const QString& dir, int) {
         return QStringList{"print", "profiles", "--home", home, "-o", file(dir, "out")};
     }},
    {"print labels",
     [](const QString& home, const QString& dir, int) {
         return QStringList{"print", "labels", "--home", home, "-o", file(dir, "out")};
     }},
    {"config --set",
     [](const QString&, const QString& dir, int round) {
         return QStringList{"config", "--config", file(dir, "out"), "--set",
                            round ? "Lang=1" : "Lang=0"};
     }},
    {"oxo-pack",
     [](const QString& home, const QString& dir, int round) {
         // The input lies outside the failing folder.
         const QString in = QDir(home).filePath(round ? "../in1.txt" : "../in0.txt");
         QFile f(in);
         if (f.open(QIODevice::WriteOnly))
             f.write(round ? "Lang=1\n" : "Lang=0\n");
         return QStringList{"oxo-pack", "--key", "0x0B", in, file(dir, "out")};
     }},
};

struct Injected {
    const char* call;
    const char* error;
    const char* reason;
};

const Injected faults[] = {
    {"write", "ENOSPC", "No space left on device"},
    {"write", "EIO", "Input/output error"},
    {"fsync", "EIO", "Input/output error"},
    {"close", "ENOSPC", "No space left on device"},
};

} // namespace

TEST(FullDisk, EveryCommandKeepsTheEarlierFileAndSaysWhy)
{
    const QString home = kvtest::demoHome(40);
    QTemporaryDir work;
    for (const Writer& w : writers) {
        SCOPED_TRACE(w.name);
        const QString dir =
            QDir(work.path()).filePath(QString::fromLatin1(w.name).replace(' ', '_'));
        ASSERT_TRUE(QDir().mkpath(dir));
        const auto first = runKvelta(w.args(home, dir, 0));
        ASSERT_EQ(first.code, 0) << first.err.toStdString();
        const QByteArray earlier = bytesOf(file(dir, "out"));
        ASSERT_FALSE(earlier.isEmpty());
        const QStringList names = folderNames(dir);

        for (const Injected& f : faults) {
            SCOPED_TRACE(std::string(f.call) + " " + f.error);
            Fault fault;
            fault.dir = dir;
            fault.call = QLatin1String(f.call);
            fault.error = QLatin1String(f.error);
            const auto r = runKvelta(w.args(home, dir, 1), fault);
            EXPECT_FALSE(r.crashed) << r.err.toStdString();
            EXPECT_NE(r.code, 0) << "a failed write reported as success";
            EXPECT_TRUE(r.err.contains(QLatin1String(f.reason))) << r.err.toStdString();
            EXPECT_FALSE(r.err.contains(QLatin1String("Unknown error"))) << r.err.toStdString();
            EXPECT_EQ(bytesOf(file(dir, "out")), earlier) << "the earlier file was changed";
            EXPECT_EQ(folderNames(dir), names) << "a draft was left behind";
        }
        // Without a fault the same run goes through.
        const auto last = runKvelta(w.args(home, dir, 1));
        EXPECT_EQ(last.code, 0) << last.err.toStdString();
        EXPECT_FALSE(bytesOf(file(dir, "out")).isEmpty());
        EXPECT_EQ(folderNames(dir), names);
    }
}

TEST(FullDisk, MakeDemoAndImportFailWithTheReasonAndLeaveNoDraft)
{
    QTemporaryDir work;
    const QString demo = QDir(work.path()).filePath("demo");
    // Pictures go through the safe writer; the database through SQLite.
    for (const char* sub : {"Log", "Dta", ""}) {
        SCOPED_TRACE(sub);
        QDir(demo).removeRecursively();
        QDir().mkpath(QDir(demo).filePath(QLatin1String(sub)));
        Fault fault;
        fault.dir = QDir(demo).filePath(QLatin1String(sub));
        const auto r =
            runKvelta({"make-demo", demo, "--firms", "60", "--seed", "7", "--force"}, fault);
        EXPECT_FALSE(r.crashed) << r.err.toStdString();
        EXPECT_NE(r.code, 0);
        EXPECT_TRUE(r.err.contains("No space left on device") ||
                    r.err.contains("database or disk is full"))
            << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(QDir(demo).filePath("Dta/KV2001.db")));
        for (const QString& name : folderNames(QDir(demo).filePath(QLatin1String(sub))))
            EXPECT_FALSE(name.contains("kvdraft")) << name.toStdString();
    }
    // A failing final sync of the database is reported too.
    QDir(demo).removeRecursively();
    QDir().mkpath(QDir(demo).filePath("Dta"));
    Fault sync;
    sync.dir = QDir(demo).filePath("Dta");
    sync.call = QStringLiteral("fsync");
    sync.error = QStringLiteral("EIO");
    const auto synced =
        runKvelta({"make-demo", demo, "--firms", "60", "--seed", "7", "--force"}, sync);
    EXPECT_NE(synced.code, 0);
    EXPECT_TRUE(synced.err.contains("Input/output error") || synced.err.contains("disk I/O error"))
        << synced.err.toStdString();

    // The Jet import: nothing half written stays.
    const QString out = QDir(work.path()).filePath("import");
    QDir().mkpath(out);
    Fault full;
    full.dir = out;
    const auto imported = runKvelta(
        {"import-mdb", QStringLiteral(KV_JET_SAMPLES "/") + "testV1997.mdb", out + "/KV2001.db"},
        full);
    EXPECT_FALSE(imported.crashed);
    EXPECT_NE(imported.code, 0);
    EXPECT_TRUE(imported.err.contains("database or disk is full") ||
                imported.err.contains("No space left on device"))
        << imported.err.toStdString();
    EXPECT_EQ(folderNames(out), QStringList());
}

// The same on a real small file system that fills up, where the test may
// mount one.
TEST(FullDisk, FilledTmpfsKeepsTheEarlierExportAndConfiguration)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "not root: a small tmpfs cannot be mounted here";
    QTemporaryDir work;
    const QString dir = QDir(work.path()).filePath("small");
    QDir().mkpath(dir);
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", dir}) != 0)
        GTEST_SKIP() << "mounting a tmpfs failed (no rights in this container)";
    struct Unmount {
        QString dir;
        ~Unmount() { QProcess::execute("umount", {dir}); }
    } unmount{dir};

    const QString home = kvtest::demoHome(40);
    const QString out = QDir(dir).filePath("out.txt");
    const QString ini = QDir(dir).filePath("KV2001.ini");
    ASSERT_EQ(runKvelta({"export", "--home", home, "--items", "nazev", "-o", out}).code, 0);
    ASSERT_EQ(runKvelta({"config", "--config", ini, "--set", "Lang=0"}).code, 0);
    const QByteArray earlierOut = bytesOf(out), earlierIni = bytesOf(ini);

    // Fill what is left.
    QFile filler(QDir(dir).filePath("filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(1024, 'x');
    while (filler.write(block) == block.size()) {
    }
    filler.close();
    const QStringList names = folderNames(dir);

    const auto e = runKvelta(
        {"export", "--home", home, "--items", "nazev,ulice,misto,psc,tel,fax", "-o", out});
    EXPECT_NE(e.code, 0);
    EXPECT_TRUE(e.err.contains("No space left on device")) << e.err.toStdString();
    const auto c = runKvelta({"config", "--config", ini, "--set", "Lang=1"});
    EXPECT_NE(c.code, 0);
    EXPECT_TRUE(c.err.contains("No space left on device")) << c.err.toStdString();
    EXPECT_EQ(bytesOf(out), earlierOut);
    EXPECT_EQ(bytesOf(ini), earlierIni);
    EXPECT_EQ(folderNames(dir), names);
}
