// The one writer of user files, with faults injected into its system calls.
#include "core/SafeFileWriter.h"
#include "core/Config.h"
#include "core/Error.h"
#include "core/ListFile.h"
#include "core/Settings.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/FailingIo.h"
#include "tests/support/FileProbe.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using kv::SafeFileWriter;
using kvtest::FailingIo;

using kvtest::bytesOf;
using kvtest::namesIn;

namespace
{

mode_t modeOf(const QString& path)
{
    struct stat st {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

} // namespace

TEST(SafeFileWriter, EveryFailingCallKeepsTheEarlierFileAndNamesTheReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("file.txt");
    SafeFileWriter::write(path, "earlier\r\n");
    const QByteArray big(300000, 'x'); // several writes when they are cut short
    struct Case {
        FailingIo::Call call;
        int at;
        int error;
        size_t shortWrites;
        const char* reason;
    } cases[] = {
        {FailingIo::Write, 1, ENOSPC, 0, "No space left on device"},
        {FailingIo::Write, 3, ENOSPC, 4096, "No space left on device"},
        {FailingIo::Write, 2, EIO, 65536, "Input/output error"},
        {FailingIo::Fsync, 1, EIO, 0, "Input/output error"},
        {FailingIo::Close, 1, ENOSPC, 0, "No space left on device"},
        {FailingIo::Close, 1, EIO, 0, "Input/output error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason + std::string(" at call ") + std::to_string(c.at));
        FailingIo io(c.call, c.at, c.error, c.shortWrites);
        try {
            SafeFileWriter::write(path, big);
            ADD_FAILURE() << "no error";
        } catch (const kv::Error& e) {
            EXPECT_EQ(e.kind(), kv::Error::Kind::File);
            EXPECT_EQ(e.reason(), QLatin1String(c.reason));
            EXPECT_EQ(e.path(), path);
        }
        EXPECT_EQ(bytesOf(path), QByteArray("earlier\r\n"));
        EXPECT_EQ(namesIn(dir.path()), QStringList{"file.txt"});
    }
    // Short writes alone are no failure: the loop goes on.
    {
        FailingIo io(FailingIo::Write, INT_MAX, ENOSPC, 1000);
        SafeFileWriter::write(path, big);
        EXPECT_GE(FailingIo::calls(), 300);
    }
    EXPECT_EQ(bytesOf(path), big);
}

TEST(SafeFileWriter, KeepsOrSetsThePermissions)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f");
    SafeFileWriter::write(path, "a");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    SafeFileWriter::write(path, "b");
    EXPECT_EQ(modeOf(path), mode_t(0640));
    SafeFileWriter::Options own;
    own.mode = 0600;
    SafeFileWriter::write(path, "c", own);
    EXPECT_EQ(modeOf(path), mode_t(0600));
}

TEST(SafeFileWriter, TargetsThatAreNoRegularFileOrAnInputAreRefused)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("file");
    SafeFileWriter::write(file, "old");
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_KV_ERROR(SafeFileWriter::write(fifo, "x"), File);
    EXPECT_KV_ERROR(SafeFileWriter::write(dir.path(), "x"), File);

    // A link: followed to its file, or refused where the caller says so.
    const QString link = dir.filePath("link");
    ASSERT_TRUE(QFile::link(file, link));
    SafeFileWriter::Options refuse;
    refuse.links = SafeFileWriter::Links::Refuse;
    EXPECT_KV_ERROR(SafeFileWriter::write(link, "x", refuse), File);
    EXPECT_EQ(bytesOf(file), QByteArray("old"));
    SafeFileWriter::write(link, "new");
    EXPECT_EQ(bytesOf(file), QByteArray("new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    const QString dangling = dir.filePath("dangling");
    ASSERT_TRUE(QFile::link(dir.filePath("nothing"), dangling));
    EXPECT_KV_ERROR(SafeFileWriter::write(dangling, "x"), File);

    SafeFileWriter::Options inputs;
    inputs.inputs = {dir.filePath("./link")};
    EXPECT_KV_ERROR(SafeFileWriter::write(
                        dir.filePath("../") + QDir(dir.path()).dirName() + "/file", "x", inputs),
                    File);
    EXPECT_EQ(bytesOf(file), QByteArray("new"));
}

TEST(SafeFileWriter, AFolderAmongTheInputsTakesNoFileNewOrOldDirectOrThroughALink)
{
    QTemporaryDir dir;
    const QString notes = dir.filePath("Pozn");
    ASSERT_TRUE(QDir().mkpath(notes));
    const QString note = QDir(notes).filePath("7.tx");
    SafeFileWriter::write(note, "note");
    const QString link = dir.filePath("link");
    ASSERT_TRUE(QFile::link(note, link));
    SafeFileWriter::Options options;
    options.inputs = {dir.filePath("./Pozn/")};
    for (const QString& target :
         {note, QDir(notes).filePath("8.tx"), link, dir.filePath("Pozn/../Pozn/9.tx")})
        EXPECT_KV_ERROR(SafeFileWriter::write(target, "x", options), File) << target.toStdString();
    EXPECT_EQ(bytesOf(note), QByteArray("note"));
    EXPECT_EQ(QDir(notes).entryList(QDir::Files | QDir::Hidden), QStringList{"7.tx"});
    // Beside the folder, and into a folder below it, writing goes on.
    SafeFileWriter::write(dir.filePath("out.txt"), "x", options);
    ASSERT_TRUE(QDir().mkpath(QDir(notes).filePath("sub")));
    SafeFileWriter::write(QDir(notes).filePath("sub/out.txt"), "x", options);
    EXPECT_EQ(bytesOf(QDir(notes).filePath("sub/out.txt")), QByteArray("x"));
}

TEST(SafeFileWriter, DraftsOfEndedOrOldRunsAreRemoved)
{
    QTemporaryDir dir;
    const QString draft = SafeFileWriter::draftPath(dir.filePath("a.txt"));
    EXPECT_TRUE(QFileInfo(draft).fileName().startsWith(".a.txt.kvdraft-"));
    EXPECT_EQ(QFileInfo(draft).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
    const auto make = [&](const QString& name, int ageSeconds) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write("part");
        f.flush(); // a later flush would set the time again
        f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                      QFileDevice::FileModificationTime);
    };
    const int self = ::getpid();
    make(QStringLiteral(".a.txt.kvdraft-%1-abcdef").arg(INT_MAX - 1), 0); // no such process
    make(QStringLiteral(".b.kvdraft-%1-123456").arg(self), 2 * 3600);     // old
    make(QStringLiteral(".c.kvdraft-%1-654321").arg(self), 0);            // this run's
    make(QStringLiteral("d.kvdraft-%1-abcdef").arg(INT_MAX - 1), 0);      // not the pattern
    make(QStringLiteral("notes.txt"), 3 * 3600);                          // not a draft
    EXPECT_EQ(SafeFileWriter::removeStaleDrafts(dir.path()), 2);
    EXPECT_EQ(namesIn(dir.path()),
              QStringList({QStringLiteral(".c.kvdraft-%1-654321").arg(self),
                           QStringLiteral("d.kvdraft-%1-abcdef").arg(INT_MAX - 1), "notes.txt"}));
}

TEST(SafeFileWriter, ConfigurationAndContainersKeepTheirEarlierBytes)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("KV2001.ini");
    kv::settings() = kv::Settings();
    kv::writeConfig(ini, 1);
    const QByteArray earlier = bytesOf(ini);
    ASSERT_FALSE(earlier.isEmpty());
    EXPECT_EQ(modeOf(ini), mode_t(0600));
    kv::settings().langBase = 1;
    {
        FailingIo io(FailingIo::Write, 1, ENOSPC);
        kv::writeConfig(ini, 2); // not reported, by design
    }
    EXPECT_EQ(bytesOf(ini), earlier);
    const QString box = dir.filePath("a.kvv");
    kv::saveListFile({"jedna", "dva"}, box, 1, 0x0C);
    const QByteArray container = bytesOf(box);
    {
        FailingIo io(FailingIo::Fsync, 1, EIO);
        EXPECT_KV_ERROR(kv::saveListFile({"tři"}, box, 1, 0x0C), File);
    }
    EXPECT_EQ(bytesOf(box), container);
    EXPECT_EQ(namesIn(dir.path()), QStringList({"KV2001.ini", "KV2001.ini.lock", "a.kvv"}));
    kv::settings() = kv::Settings();
}
