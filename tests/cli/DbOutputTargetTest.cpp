// The commands that read the company data from a server write their outputs
// as they do without one: through the safe writer, never onto a device or a
// file of the data home, through a link to a regular file, and on a failing
// disk they keep the earlier file and say why. count and filter print their
// result, so standard output that cannot take it (/dev/full) is a failure
// too; the fault library cannot fail it, as stdio's writes pass it by.
#include "domain/SelectionFile.h"
#include "domain/SelectionState.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DemoHomeTestSupport.h"
#include "tests/support/FileProbe.h"
#include "tests/support/KveltaRun.h"
#include "tests/support/TestBackend.h"
#include "tests/support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace
{

using kvtest::bytesOf;
using kvtest::Fault;
using kvtest::folderNames;
using kvtest::runKvelta;
using kvtest::runKveltaTo;

mode_t typeOf(const QString& path)
{
    struct stat st {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A writable data home with the demo database and a note; the server holds
// a load of that database (one for every case of the suite: serverCopy).
class ServerOutputs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* sub : {"Dta", "Pozn"})
            QDir().mkpath(home.file(QLatin1String(sub)));
        ASSERT_TRUE(QFile::copy(QDir(kvtest::demoHome(40)).filePath("Dta/KV2001.db"), db()));
        peno = int(kvtest::DemoDb(db()).count("select min(peno) from firma"));
        ASSERT_GT(peno, 0);
        put(note(), "Pozn\xE1mka\r\n");
        url = kvtest::serverCopy(db());
        // One firm chosen by its number: count prints 1.
        kv::SelectionState state;
        state.row(kv::SelectionState::Ico).add(QStringLiteral("firm"), QString::number(peno));
        kv::saveSelection(state, selection());
    }

    QString db() const { return home.file("Dta/KV2001.db"); }
    QString note() const { return home.file(QStringLiteral("Pozn/%1.tx").arg(peno)); }
    QString selection() const { return outside.filePath("one.kvv"); }

    // The commands that write a file, reading the server, with output `out`.
    struct Writer {
        const char* name;
        QStringList args;
    };
    QList<Writer> writers(const QString& out) const
    {
        const QStringList read{"--home", home.path(), "--db", url, "-o", out};
        return {{"export", QStringList{"export"} + read},
                {"export csv", QStringList{"export", "--format", "csv"} + read},
                {"export xlsx", QStringList{"export", "--format", "xlsx"} + read},
                {"print list", QStringList{"print", "list"} + read},
                {"print profiles", QStringList{"print", "profiles"} + read},
                {"print labels", QStringList{"print", "labels"} + read}};
    }
    // count and filter, whose output is standard output.
    QList<Writer> printers() const
    {
        const QStringList read{"--home", home.path(), "--db", url, selection()};
        return {{"count", QStringList{"count"} + read}, {"filter", QStringList{"filter"} + read}};
    }

    kvtest::TestHome home;
    QTemporaryDir outside;
    QString url;
    int peno = 0;
};

} // namespace

TEST_F(ServerOutputs, ADeviceIsRefusedAndAFullStandardOutputFails)
{
    for (const Writer& w : writers(QStringLiteral("/dev/full"))) {
        SCOPED_TRACE(w.name);
        const auto r = runKvelta(w.args);
        EXPECT_FALSE(r.crashed);
        EXPECT_EQ(r.code, 5) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("not a regular file")) << r.err.toStdString();
    }
    for (const Writer& w : printers()) {
        SCOPED_TRACE(w.name);
        // Into a file the result is there ...
        const QString file = outside.filePath(QLatin1String(w.name));
        const auto written = runKveltaTo(file, w.args);
        ASSERT_EQ(written.code, 0) << written.err.toStdString();
        EXPECT_FALSE(bytesOf(file).isEmpty());
        // ... onto a full device it is lost, and the run says so.
        const auto full = runKveltaTo(QStringLiteral("/dev/full"), w.args);
        EXPECT_FALSE(full.crashed);
        EXPECT_EQ(full.code, 5);
        EXPECT_TRUE(full.err.contains("No space left on device")) << full.err.toStdString();
    }
    EXPECT_EQ(bytesOf(outside.filePath("count")), "1\n");
}

TEST_F(ServerOutputs, ALinkToARegularFileIsWrittenThroughALinkToNothingRefused)
{
    const QString real = outside.filePath("real");
    const QString link = outside.filePath("link");
    ASSERT_TRUE(QFile::link(real, link));
    const QString dangling = outside.filePath("dangling");
    ASSERT_TRUE(QFile::link(outside.filePath("nothing"), dangling));
    for (const Writer& w : writers(link)) {
        SCOPED_TRACE(w.name);
        put(real, "earlier");
        const auto r = runKvelta(w.args);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(typeOf(link), mode_t(S_IFLNK)) << "the link was replaced";
        EXPECT_NE(bytesOf(real), QByteArray("earlier"));
        EXPECT_FALSE(bytesOf(real).isEmpty());
    }
    for (const Writer& w : writers(dangling)) {
        SCOPED_TRACE(w.name);
        const auto r = runKvelta(w.args);
        EXPECT_EQ(r.code, 5) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("symbolic link")) << r.err.toStdString();
        EXPECT_EQ(typeOf(dangling), mode_t(S_IFLNK));
        EXPECT_FALSE(QFile::exists(outside.filePath("nothing")));
    }
}

TEST_F(ServerOutputs, FilesOfTheDataHomeAreRefusedAndLeftAlone)
{
    // The home's database is not read with --db, yet a run without it reads
    // it next; notes stay below the home.
    const QByteArray database = bytesOf(db());
    const QByteArray noteBytes = bytesOf(note());
    const QString dbLink = outside.filePath("db-link");
    ASSERT_TRUE(QFile::link(db(), dbLink));
    const QString noteLink = outside.filePath("note-link");
    ASSERT_TRUE(QFile::link(note(), noteLink));
    const QString newNote = home.file("Pozn/999999.tx");
    const QStringList targets{db(),   dbLink,   home.file("Dta/../Pozn/../Dta/KV2001.db"),
                              note(), noteLink, newNote};
    for (const QString& target : targets) {
        for (const Writer& w : writers(target)) {
            SCOPED_TRACE(std::string(w.name) + " -o " + target.toStdString());
            const auto r = runKvelta(w.args);
            EXPECT_EQ(r.code, 5);
            EXPECT_TRUE(r.err.contains("input")) << r.err.toStdString();
            EXPECT_EQ(bytesOf(db()), database);
            EXPECT_EQ(bytesOf(note()), noteBytes);
            EXPECT_FALSE(QFile::exists(newNote));
        }
    }
    EXPECT_EQ(folderNames(home.file("Dta")), QStringList{"KV2001.db"});
    const auto control = runKvelta(writers(outside.filePath("e.txt")).front().args);
    EXPECT_EQ(control.code, 0) << control.err.toStdString();
}

TEST_F(ServerOutputs, AFailingDiskKeepsTheEarlierFileAndSaysWhy)
{
    struct Injected {
        const char* call;
        const char* error;
        const char* reason;
    };
    const Injected faults[] = {
        {"write", "ENOSPC", "No space left on device"},
        {"fsync", "EIO", "Input/output error"},
        {"close", "ENOSPC", "No space left on device"},
    };
    for (const Writer& w : writers(outside.filePath("out/file"))) {
        SCOPED_TRACE(w.name);
        const QString dir = outside.filePath("out");
        ASSERT_TRUE(QDir().mkpath(dir));
        ASSERT_EQ(runKvelta(w.args).code, 0);
        const QByteArray earlier = bytesOf(outside.filePath("out/file"));
        ASSERT_FALSE(earlier.isEmpty());
        const QStringList names = folderNames(dir);
        for (const Injected& f : faults) {
            SCOPED_TRACE(std::string(f.call) + " " + f.error);
            Fault fault;
            fault.dir = dir;
            fault.call = QLatin1String(f.call);
            fault.error = QLatin1String(f.error);
            const auto r = runKvelta(w.args, fault);
            EXPECT_FALSE(r.crashed) << r.err.toStdString();
            EXPECT_EQ(r.code, 5) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(QLatin1String(f.reason))) << r.err.toStdString();
            EXPECT_EQ(bytesOf(outside.filePath("out/file")), earlier);
            EXPECT_EQ(folderNames(dir), names) << "a draft was left behind";
        }
        QDir(dir).removeRecursively();
    }
}
