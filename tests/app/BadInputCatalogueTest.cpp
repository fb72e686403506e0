// Files from elsewhere, through the program's real entry points: each one is
// refused with a clear message (or read as far as it is sound), and nothing
// the user had before is changed or lost.
//
// Classes of bad input and where they are tested:
// - damaged selection, label, configuration files and databases: here;
// - a full or failing disk under every writer (write, fsync, close fail):
//   FullDiskTest (the real executable under the fault-injection preload
//   library, and a filled tmpfs when run as root), WindowFilesFaultTest and
//   SafeFileWriterTest (the writer's calls replaced in-process), and here;
// - notes that are symbolic links or FIFOs, outputs that are devices, FIFOs,
//   sockets, folders or one of the command's inputs, drafts that killed runs
//   leave: OutputTargetTest, and here;
// - runs that change the configuration at once: ParallelConfigTest.
#include "cli/ExportCommand.h"
#include "cli/SelectionFileCommands.h"
#include "core/Config.h"
#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/ListFile.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "domain/LabelSettings.h"
#include "domain/NoteFile.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionRecord.h"
#include "domain/SelectionState.h"
#include "engine/TableCursor.h"
#include "tests/core/LockedFolder.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/DemoHome.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/FailingIo.h"
#include "tests/support/FileProbe.h"
#include "tests/support/TestHome.h"
#include "ui/NoteDialog.h"
#include "ui/ProfileWindow.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

using Row = kv::SelectionState::Row;

struct Outcome {
    int code = -1;
    QString out, err;
};

using Command = int (*)(const QStringList&, QTextStream&, QTextStream&);

Outcome run(Command command, const QStringList& args)
{
    Outcome r;
    QTextStream out(&r.out), err(&r.err);
    r.code = command(args, out, err);
    out.flush();
    err.flush();
    return r;
}

QByteArray crlf(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& l : lines)
        bytes += kv::Cp1250::encode(l) + "\r\n";
    return bytes;
}

QByteArray pngBytes()
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A selection record as text: header, switches, then the blocks.
QStringList record(const QStringList& blocks)
{
    return QStringList{kv::selectionrecord::header(), "1", "1", "0", "0", "0"} + blocks;
}

const QStringList kEmptyBlock{"1", "0", "0"};

QStringList emptyBlocks(int n)
{
    QStringList out;
    for (int i = 0; i < n; ++i)
        out += kEmptyBlock;
    return out;
}

class BadSelectionFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        before.row(Row::Misto).add(QStringLiteral("Praha"), QStringLiteral("1"));
        before.rgLogMezi = 0;
    }
    QString write(const QByteArray& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("bad.kvv"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }
    // The window's loader keeps its criteria, and the headless commands
    // end with exit code 2 and a message that says what is wrong.
    void expectRefused(const QByteArray& bytes, const QString& expected)
    {
        const QString path = write(bytes);
        kv::SelectionState state = before;
        try {
            EXPECT_FALSE(kv::loadSelection(path, state));
        } catch (const kv::Error& e) {
            EXPECT_TRUE(e.is(kv::Error::Kind::Selection) || e.is(kv::Error::Kind::File));
        }
        EXPECT_EQ(state, before);

        for (Command c : {Command(kv::filterCommand), Command(kv::countCommand)}) {
            const Outcome r = run(c, {"--home", kvtest::demoHome(300), path});
            EXPECT_EQ(r.code, 2) << r.err.toStdString();
            EXPECT_TRUE(r.out.isEmpty());
            EXPECT_TRUE(r.err.contains(expected, Qt::CaseInsensitive))
                << r.err.toStdString() << " lacks " << expected.toStdString();
        }
    }

    QTemporaryDir dir;
    kv::SelectionState before;
};

} // namespace

TEST_F(BadSelectionFiles, OtherFilesEmptyOrDamagedAreRefusedAndChangeNothing)
{
    const QString wrongHeader = kv::loadStr(kv::selectionrecord::WrongHeaderTextId);
    ASSERT_FALSE(wrongHeader.isEmpty());

    kv::LabelSettings labels;
    expectRefused(crlf(kv::LabelFile::lines(labels)), wrongHeader);
    expectRefused(pngBytes(), wrongHeader);
    expectRefused(QByteArray(), wrongHeader);

    // Cut in the middle of the fourth block.
    QStringList cut = record(emptyBlocks(3) + QStringList{"1", "2", "Praha"});
    expectRefused(crlf(cut), QStringLiteral("cut short"));

    QStringList letters = record(emptyBlocks(7));
    letters[6 + 3 * 2 + 1] = QStringLiteral("abc"); // the count line of the third block
    expectRefused(crlf(letters), QStringLiteral("abc"));

    QStringList huge = record(emptyBlocks(7));
    huge[6 + 1] = QStringLiteral("10000000"); // no such allocation, no read past the end
    expectRefused(crlf(huge), QStringLiteral("cut short"));
}

TEST_F(BadSelectionFiles, TwoHundredThousandCompanyNumbersStillCount)
{
    // Every firm of the home among 200,000 numbers, most of them no firm.
    kv::SelectionState s;
    for (int i = 0; i < 200000; ++i)
        s.row(Row::Ico).add(QStringLiteral("x"), QString::number(900000000 + i));
    kv::engine::Database db;
    db.open(QDir(kvtest::demoHome(300)).filePath(QStringLiteral("Dta/KV2001.db")),
            kv::engine::Database::Mode::ReadOnly);
    kv::engine::TableCursor firma(db, QStringLiteral("firma"));
    firma.open();
    int firms = 0;
    for (firma.first(); !firma.eof(); firma.next(), ++firms)
        s.row(Row::Ico).add(QStringLiteral("x"), QString::number(firma.integer("peno")));
    const QString path = dir.filePath(QStringLiteral("many.kvv"));
    kv::saveSelection(s, path);

    const Outcome r = run(kv::countCommand, {"--home", kvtest::demoHome(300), path});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QString::number(firms));
}

namespace
{

class BadLabelFiles : public ::testing::Test
{
protected:
    // A saved file of unusual but valid settings, as lines.
    QStringList savedLines()
    {
        kv::LabelSettings s;
        s.fields = {"11", "12", "13", "14", "2", "7", "4", "3"};
        s.font.face = QStringLiteral("DejaVu Serif");
        s.font.size = 37;
        s.salutation = QStringLiteral("Vážení");
        return kv::LabelFile::lines(s);
    }
    kv::LabelFile::Status load(const QStringList& lines, kv::LabelSettings& into)
    {
        const QString path = dir.filePath(QStringLiteral("bad.kl"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(crlf(lines));
        f.close();
        return kv::LabelFile::load(path, into);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(BadLabelFiles, ShortFileAppliesWhatItHoldsAndStops)
{
    kv::LabelSettings s;
    EXPECT_EQ(load(savedLines().mid(0, 10), s), kv::LabelFile::Status::Damaged);
    EXPECT_EQ(s.fields, (kv::LabelGeometry::Fields{"11", "12", "13", "14", "2", "7", "4", "3"}));
    EXPECT_EQ(s.font.face, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(s.font.size, kv::LabelSettings().font.size); // its line was not there
}

TEST_F(BadLabelFiles, FontSizeThatIsNoNumberStopsThere)
{
    QStringList lines = savedLines();
    const qsizetype size = lines.indexOf(QStringLiteral("37"));
    ASSERT_GT(size, 0);
    lines[size] = QStringLiteral("x");
    kv::LabelSettings s;
    EXPECT_EQ(load(lines, s), kv::LabelFile::Status::Damaged);
    EXPECT_EQ(s.font.face, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(s.font.size, kv::LabelSettings().font.size);
    EXPECT_EQ(s.salutation, kv::LabelSettings().salutation);
}

TEST_F(BadLabelFiles, NegativeColourLoadsAndStillDraws)
{
    // System colours are stored negative; an unknown one must not break drawing.
    QStringList lines = savedLines();
    const qsizetype colour = lines.indexOf(QString::number(kv::LabelFont::WindowTextColor));
    ASSERT_GT(colour, 0);
    lines[colour] = QStringLiteral("-5");
    kv::LabelSettings s;
    EXPECT_EQ(load(lines, s), kv::LabelFile::Status::Loaded);
    EXPECT_EQ(s.font.color, -5);
    EXPECT_TRUE(s.font.toColor().isValid());
    EXPECT_EQ(s.font.size, 37);
}

namespace
{

class BadConfiguration : public ::testing::Test
{
protected:
    void TearDown() override { kv::settings() = kv::Settings(); }
    kv::ConfigResult read(const QByteArray& bytes)
    {
        home.write(QStringLiteral("KV2001.ini"), bytes);
        return kv::readConfig(home.file(QStringLiteral("KV2001.ini")), home.path());
    }
    kvtest::TestHome home;
};

} // namespace

TEST_F(BadConfiguration, FortyDisplayEntriesKeepTheThirtyThereAre)
{
    QStringList values;
    for (int i = 0; i < 40; ++i)
        values << QString::number(i % 2);
    const kv::ConfigResult r =
        read(crlf({"[KV2001]", "Nast=" + values.join(u',') + u',', "Lang=0"}));
    EXPECT_FALSE(r.error);
    EXPECT_FALSE(kv::settings().nast[2]); // read as far as there are entries
    EXPECT_TRUE(kv::settings().nast[3]);
}

TEST_F(BadConfiguration, BinaryGarbageStartsWithDefaultsOrReportsTheError)
{
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919) % 256);
    const kv::ConfigResult r = read(garbage);
    kv::writeConfig(home.file(QStringLiteral("KV2001.ini")), 0);
    if (r.error) {
        // Not readable as a configuration: nothing may overwrite what the user has.
        EXPECT_EQ(home.read(QStringLiteral("KV2001.ini")), garbage);
    } else {
        EXPECT_EQ(kv::settings().nast, kv::Settings().nast);
        QStringList lines; // the file is stored in the list-file container
        kv::loadListFile(lines, home.file(QStringLiteral("KV2001.ini")));
        EXPECT_TRUE(kv::configValue(lines, QStringLiteral("Nast")).has_value());
    }
}

namespace
{

// A data home copied from the demo one, so that it may be damaged.
class DamagedHome : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kvtest::copyTree(kvtest::demoHome(300), home.path());
        kv::settings() = kv::Settings();
        kv::settings().dataHome = home.path();
    }
    void TearDown() override { kv::settings() = kv::Settings(); }

    void execOnDatabase(const char* sql)
    {
        kvtest::CompanyDb::change(home.file(QStringLiteral("Dta/KV2001.db")),
                                  QString::fromUtf8(sql));
    }
    kv::DataModule::OpenResult open()
    {
        dm = std::make_unique<kv::DataModule>();
        return dm->openDatabase();
    }
    int firstPeno() { return dm->firms()->integer(QStringLiteral("peno")); }

    kvtest::TestHome home;
    std::unique_ptr<kv::DataModule> dm;
};

} // namespace

TEST_F(DamagedHome, DatabasesThatAreNoCompanyDatabaseAreRefusedByName)
{
    home.write(QStringLiteral("Dta/KV2001.db"), "This is a text file, not a database.\n");
    kv::DataModule::OpenResult r = open();
    EXPECT_NE(r.status, kv::DataModule::OpenStatus::Opened);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_FALSE(dm->ready());

    kvtest::copyTree(kvtest::demoHome(300), home.path());
    execOnDatabase("DROP TABLE radky");
    r = open();
    EXPECT_NE(r.status, kv::DataModule::OpenStatus::Opened);
    EXPECT_TRUE(r.message.contains(QStringLiteral("radky"))) << r.message.toStdString();

    kvtest::copyTree(kvtest::demoHome(300), home.path());
    execOnDatabase("ALTER TABLE firma DROP COLUMN placena");
    r = open();
    EXPECT_NE(r.status, kv::DataModule::OpenStatus::Opened);
    EXPECT_TRUE(r.message.contains(QStringLiteral("placena"))) << r.message.toStdString();
}

TEST_F(DamagedHome, HugeAndForeignNotesAreShownWhole)
{
    ASSERT_EQ(open().status, kv::DataModule::OpenStatus::Opened);
    const int peno = firstPeno();
    QByteArray big;
    while (big.size() < 5 * 1024 * 1024)
        big += "Poznámka k firmě, řádek dlouhý jako ostatní.\r\n";
    QFile f(kv::NoteFile::path(peno));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(big); // UTF-8 bytes where Windows-1250 belongs
    f.close();

    const QString text = kv::NoteFile::text(peno);
    EXPECT_GT(text.size(), 4 * 1024 * 1024);
    kv::NoteDialog editor(dm.get());
    EXPECT_EQ(editor.editor()->toPlainText().size(), text.size());
    // Shown as Windows-1250 reads those bytes; Cancel leaves the file alone.
    editor.reject();
    QFile again(kv::NoteFile::path(peno));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), big);
}

TEST_F(DamagedHome, LogoThatIsNoPictureLeavesTheProfileWithoutIt)
{
    ASSERT_EQ(open().status, kv::DataModule::OpenStatus::Opened);
    dm->firms()->setFilter(QStringLiteral("logo is not null"), true);
    ASSERT_GT(dm->firms()->recordCount(), 0);
    const QString logo = dm->firms()->text(QStringLiteral("logo"));
    home.write(QStringLiteral("Log/") + logo, "GIF89a but then nothing of a picture");
    kv::ProfileWindow profile(dm.get(), nullptr, QString());
    EXPECT_FALSE(profile.loadLogo());
    profile.show();
}

TEST_F(DamagedHome, ReadOnlyHomeReportsNotesAndExportAndKeepsTheOldNote)
{
    ASSERT_EQ(open().status, kv::DataModule::OpenStatus::Opened);
    const int peno = firstPeno();
    kv::NoteFile::save(peno, QStringLiteral("stará poznámka"));
    const QByteArray old = home.read(QStringLiteral("Pozn/%1.tx").arg(peno));

    kvtest::LockedFolder notes(home.file(QStringLiteral("Pozn")));
    kvtest::LockedFolder top(home.path());
    ASSERT_TRUE(notes.locked() && top.locked()) << "cannot make a folder read-only here";
    try {
        kv::NoteFile::save(peno, QStringLiteral("nová poznámka"));
        ADD_FAILURE() << "a read-only home took the note";
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::File);
        EXPECT_FALSE(e.message().isEmpty());
    }
    EXPECT_EQ(home.read(QStringLiteral("Pozn/%1.tx").arg(peno)), old);

    const Outcome r = run(kv::exportCommand,
                          {"--home", home.path(), "-o", home.file(QStringLiteral("export.txt"))});
    EXPECT_EQ(r.code, 5) << r.err.toStdString();
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("export.txt"))));
}

TEST(FailedWrites, EveryUserFileKeepsItsEarlierVersion)
{
    // Each writer first writes a file, then is made to fail on the same path:
    // the folder refuses new files, so only a writer that goes through a
    // temporary file fails, and the earlier bytes must still be there.
    kvtest::TestHome home;
    kv::settings() = kv::Settings();
    kv::settings().dataHome = kvtest::demoHome(300);
    const QString dir = home.file(QStringLiteral("out"));
    QDir().mkpath(dir);
    const auto path = [&](const char* name) { return QDir(dir).filePath(QLatin1String(name)); };
    const auto bytes = [&](const char* name) {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };

    kv::writeConfig(path("KV2001.ini"), 1);
    kv::SelectionState selection;
    selection.row(Row::Okres).add(QStringLiteral("Benešov"), QStringLiteral("2"));
    kv::saveSelection(selection, path("a.kvv"));
    kv::LabelSettings labels;
    kv::LabelFile::save(labels, path("a.kl"));
    const Outcome first =
        run(kv::exportCommand, {"--home", kvtest::demoHome(300), "-o", path("e.txt")});
    ASSERT_EQ(first.code, 0) << first.err.toStdString();
    const char* names[] = {"KV2001.ini", "a.kvv", "a.kl", "e.txt"};
    QList<QByteArray> before;
    for (const char* n : names) {
        before << bytes(n);
        ASSERT_FALSE(before.last().isEmpty()) << n;
    }

    kvtest::LockedFolder lock(dir);
    ASSERT_TRUE(lock.locked()) << "cannot make a folder read-only here";
    kv::settings().langBase = 1;            // something to write
    kv::writeConfig(path("KV2001.ini"), 2); // failures are not reported, by design
    selection.row(Row::Okres).add(QStringLiteral("Beroun"), QStringLiteral("3"));
    EXPECT_KV_ERROR(kv::saveSelection(selection, path("a.kvv")), File);
    labels.salutation = QStringLiteral("Vážený pane");
    EXPECT_KV_ERROR(kv::LabelFile::save(labels, path("a.kl")), File);
    const Outcome second =
        run(kv::exportCommand, {"--home", kvtest::demoHome(300), "-o", path("e.txt")});
    EXPECT_EQ(second.code, 5);
    EXPECT_FALSE(second.err.isEmpty());

    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(bytes(names[i]), before[i]) << names[i];
    kv::settings() = kv::Settings();
}

TEST(FailedWrites, FullDiskDevicesInputsAndLinkedNotesChangeNothing)
{
    kvtest::TestHome home;
    const QString demo = kvtest::demoHome(300);
    const QString out = home.file(QStringLiteral("e.txt"));
    ASSERT_EQ(run(kv::exportCommand, {"--home", demo, "-o", out}).code, 0);
    const QByteArray earlier = home.read(QStringLiteral("e.txt"));
    {
        kvtest::FailingIo full(kvtest::FailingIo::Write, 1, ENOSPC);
        const Outcome r = run(kv::exportCommand, {"--home", demo, "--items", "tel", "-o", out});
        EXPECT_EQ(r.code, 5);
        EXPECT_TRUE(r.err.contains("No space left on device")) << r.err.toStdString();
    }
    EXPECT_EQ(home.read(QStringLiteral("e.txt")), earlier);

    const QString fifo = home.file(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(run(kv::exportCommand, {"--home", demo, "-o", fifo}).code, 5);
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    const Outcome input =
        run(kv::exportCommand, {"--home", demo, "-o", QDir(demo).filePath("Dta/KV2001.db")});
    EXPECT_EQ(input.code, 5);
    EXPECT_TRUE(input.err.contains("input")) << input.err.toStdString();

    kv::settings() = kv::Settings();
    kv::settings().dataHome = home.path();
    home.write(QStringLiteral("elsewhere.txt"), "kept\r\n");
    QDir().mkpath(home.file(QStringLiteral("Pozn")));
    ASSERT_TRUE(QFile::link(home.file(QStringLiteral("elsewhere.txt")), kv::NoteFile::path(7)));
    EXPECT_TRUE(kv::NoteFile::lines(7).isEmpty());
    EXPECT_KV_ERROR(kv::NoteFile::save(7, QStringLiteral("nový")), File);
    EXPECT_EQ(home.read(QStringLiteral("elsewhere.txt")), QByteArray("kept\r\n"));
    kv::settings() = kv::Settings();
}
