// Note files: path, Windows-1250 with CR LF, empty notes, safe writes.
#include "domain/NoteFile.h"
#include "core/Error.h"
#include "core/Settings.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace
{

class NoteFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kv::settings() = kv::Settings();
        kv::settings().dataHome = home.path();
    }
    void TearDown() override { kv::settings() = kv::Settings(); }
    kvtest::TestHome home;
};

} // namespace

TEST_F(NoteFileTest, PathIsPoznPenoTx)
{
    EXPECT_EQ(QFileInfo(kv::NoteFile::path(1017)).fileName(), "1017.tx");
    EXPECT_EQ(QFileInfo(kv::NoteFile::path(1017)).dir().dirName(), "Pozn");
    EXPECT_FALSE(kv::NoteFile::exists(1017));
    EXPECT_TRUE(kv::NoteFile::lines(1017).isEmpty());
}

TEST_F(NoteFileTest, ThreeLinesEndEachWithCrLfInWindows1250)
{
    kv::NoteFile::save(7, QString::fromUtf8("  Žluťoučký\nkůň\n úpěl "));
    const QByteArray expected("  \x8elu\x9dou\xe8k\xfd\r\n"
                              "k\xf9\xf2\r\n"
                              " \xfap\xecl \r\n");
    EXPECT_EQ(home.read("Pozn/7.tx"), expected);
    EXPECT_EQ(kv::NoteFile::lines(7),
              QStringList({QString::fromUtf8("  Žluťoučký"), QString::fromUtf8("kůň"),
                           QString::fromUtf8(" úpěl ")}));
}

TEST_F(NoteFileTest, BlankNoteDeletesTheFile)
{
    kv::NoteFile::save(3, "old");
    ASSERT_TRUE(kv::NoteFile::exists(3));
    kv::NoteFile::save(3, "   \n\n \t \n");
    EXPECT_FALSE(kv::NoteFile::exists(3));
    // Deleting a note that does not exist is no error.
    EXPECT_NO_THROW(kv::NoteFile::save(3, ""));
    EXPECT_FALSE(kv::NoteFile::exists(3));
}

TEST_F(NoteFileTest, MissingNoteFolderIsCreated)
{
    QDir(home.file("Pozn")).removeRecursively();
    kv::NoteFile::save(12, "a");
    EXPECT_EQ(home.read("Pozn/12.tx"), QByteArray("a\r\n"));
}

TEST_F(NoteFileTest, FailedWriteKeepsTheOldNoteAndReportsIt)
{
    kv::NoteFile::save(5, "old note");
    QFile dir(home.file("Pozn"));
    const auto perms = dir.permissions();
    // The folder refuses new files: the temporary file cannot be made.
    ASSERT_TRUE(dir.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    bool immutable = false;
    if (QFile probe(home.file("Pozn/probe")); probe.open(QIODevice::WriteOnly)) {
        // Root ignores permissions; an immutable folder refuses even root.
        probe.close();
        probe.remove();
        immutable = QProcess::execute("chattr", {"+i", home.file("Pozn")}) == 0;
        QFile again(home.file("Pozn/probe"));
        if (!immutable || again.open(QIODevice::WriteOnly)) {
            again.remove();
            if (immutable)
                QProcess::execute("chattr", {"-i", home.file("Pozn")});
            dir.setPermissions(perms);
            GTEST_SKIP() << "no way here to make the note folder refuse writing";
        }
    }
    EXPECT_KV_ERROR(kv::NoteFile::save(5, "new note"), File);
    if (immutable)
        QProcess::execute("chattr", {"-i", home.file("Pozn")});
    dir.setPermissions(perms);
    EXPECT_EQ(home.read("Pozn/5.tx"), QByteArray("old note\r\n"));
}

TEST_F(NoteFileTest, NoteFolderThatCannotBeMadeIsReported)
{
    QDir(home.file("Pozn")).removeRecursively();
    home.write("Pozn", "a file where the folder should be");
    EXPECT_KV_ERROR(kv::NoteFile::save(4, "note"), File);
    EXPECT_EQ(home.read("Pozn"), QByteArray("a file where the folder should be"));
}

TEST_F(NoteFileTest, CharacterOutsideWindows1250IsRefusedNotMangled)
{
    kv::NoteFile::save(8, "old");
    try {
        kv::NoteFile::save(8, QString::fromUtf8("Cena 5 ₽"));
        ADD_FAILURE() << "no error";
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::File);
        EXPECT_TRUE(e.message().contains(QString::fromUtf8("₽")));
    }
    EXPECT_EQ(home.read("Pozn/8.tx"), QByteArray("old\r\n"));
}

TEST_F(NoteFileTest, LinesReadBackWithoutTheirEnds)
{
    home.write("Pozn/9.tx", "a\r\n\r\nb\r\n");
    EXPECT_EQ(kv::NoteFile::lines(9), QStringList({"a", "", "b"}));
    EXPECT_EQ(kv::NoteFile::text(9), "a\n\nb");
}
