// Data that is hostile or stale rather than damaged, through the program's
// real entry points: picture names that lead out of their folder, derived
// sort tables that no longer match the company table, company numbers beyond
// 32 bits and selection files beyond the documented limits.
#include "cli/ExportCommand.h"
#include "cli/FirmPrintCommand.h"
#include "cli/LabelPrintCommand.h"
#include "cli/SelectionFileCommands.h"
#include "core/PictureFolder.h"
#include "core/Settings.h"
#include "demo/DemoGenerator.h"
#include "demo/DemoHomeFolder.h"
#include "domain/DataModule.h"
#include "domain/EngineStatementRunner.h"
#include "domain/FilterBuilder.h"
#include "domain/NoteFile.h"
#include "domain/PictureFile.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionState.h"
#include "engine/Database.h"
#include "engine/DatabaseSetup.h"
#include "engine/Statement.h"
#include "reports/ProfileReport.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/PdfProbe.h"
#include "tests/support/TestHome.h"
#include "ui/NoteDialog.h"
#include "ui/ProfileWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

using Row = kv::SelectionState::Row;
using Command = int (*)(const QStringList&, QTextStream&, QTextStream&);

struct Outcome {
    int code = -1;
    QString out, err;
};

Outcome run(Command command, const QStringList& args)
{
    Outcome r;
    QTextStream out(&r.out), err(&r.err);
    r.code = command(args, out, err);
    out.flush();
    err.flush();
    return r;
}

// A demo home of its own, since these tests change its database.
class OwnDemoHome
{
public:
    explicit OwnDemoHome(int firms)
    {
        QString error;
        if (!kv::DemoHomeFolder::prepare(m_dir.path(), true, &error))
            ADD_FAILURE() << error.toStdString();
        kv::DemoGenerator::Options options;
        options.firms = firms;
        kv::DemoGenerator generator(options);
        if (!generator.generate(m_dir.path()))
            ADD_FAILURE() << generator.error().toStdString();
    }
    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return m_dir.filePath(relative); }
    QString database() const { return file(QStringLiteral("Dta/KV2001.db")); }

    // Changes the company database behind the program's back, as another
    // tool would.
    void sql(const QString& statements, bool refinish = false) const
    {
        kvtest::CompanyDb::change(database(), statements, {}, refinish);
    }
    qint64 scalar(const QString& query) const
    {
        kv::engine::Database db(database());
        kv::engine::Statement st(db, query);
        return st.step() ? st.int64(0) : -1;
    }

private:
    QTemporaryDir m_dir;
};

int lineCount(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(f.readAll().count("\r\n"));
}

} // namespace

// --- Picture names from the database -------------------------------------

TEST(HostilePictureNames, OnlyFilesInsideTheirFolderAreRead)
{
    kvtest::TestHome home;
    kv::settings().dataHome = home.path();
    QTemporaryDir outside;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(home.file("Log/good.png")));
    ASSERT_TRUE(picture.save(home.file("secret.png")));
    ASSERT_TRUE(picture.save(home.file("RK/ad.png")));
    ASSERT_TRUE(picture.save(outside.filePath("secret.png")));
    ASSERT_TRUE(QFile::link(outside.filePath("secret.png"), home.file("Log/link.png")));
    ASSERT_TRUE(QFile::link(home.file("Log/good.png"), home.file("Log/inner.png")));
    const QString outsideRelative = QDir(home.file("Log")).relativeFilePath(outside.path());

    EXPECT_FALSE(kv::ProfileReport::logoPath(QStringLiteral("good.png")).isEmpty());
    EXPECT_FALSE(kv::ProfileReport::logoPath(QStringLiteral("inner.png")).isEmpty())
        << "a link that stays inside the folder is fine";
    const QStringList hostile{"../secret.png",                 // the data home, but not the folder
                              outsideRelative + "/secret.png", // anywhere on the disk
                              "..\\secret.png",                // the same with Windows separators
                              outside.filePath("secret.png"),  // an absolute name
                              "sub/../../secret.png",
                              "",
                              "   ",
                              "."};
    for (const QString& name : hostile + QStringList{"../RK/ad.png", "link.png"})
        EXPECT_TRUE(kv::ProfileReport::logoPath(name).isEmpty()) << name.toStdString();
    for (const QString& name : hostile + QStringList{"../Log/good.png", "../Log/link.png"}) {
        QImage image;
        QString error;
        EXPECT_EQ(kv::PictureFile::load(QStringLiteral("RK"), name, &image, &error),
                  kv::PictureFile::Status::Missing)
            << name.toStdString();
        EXPECT_TRUE(image.isNull());
    }
    QImage image;
    QString error;
    EXPECT_EQ(kv::PictureFile::load(QStringLiteral("RK"), QStringLiteral("ad.png"), &image, &error),
              kv::PictureFile::Status::Loaded);
    kv::settings() = kv::Settings();
}

// --- Very long texts -----------------------------------------------------

TEST(LongNames, MultiMegabyteUnbrokenNameAndStreetPrint)
{
    OwnDemoHome home(5);
    QString name;
    name.reserve(3 * 1024 * 1024);
    for (int i = 0; i < 3 * 1024 * 1024; ++i)
        name += QChar(u'a' + i * 7 % 26);
    home.sql(QStringLiteral("UPDATE firma SET nazev = '%1', ulice = '%1' "
                            "WHERE peno = (SELECT min(peno) FROM firma)")
                 .arg(name));
    QTemporaryDir dir;
    const Outcome list =
        run(kv::printListCommand, {"--home", home.path(), "-o", dir.filePath("list.pdf")});
    ASSERT_EQ(list.code, 0) << list.err.toStdString();
    // Broken into lines that run over many pages, not cut to one page.
    EXPECT_GT(kvtest::pdfPages(dir.filePath("list.pdf")), 100);
    const Outcome labels =
        run(kv::printLabelsCommand, {"--home", home.path(), "-o", dir.filePath("labels.pdf")});
    EXPECT_EQ(labels.code, 0) << labels.err.toStdString();
    EXPECT_GE(kvtest::pdfPages(dir.filePath("labels.pdf")), 1);
    kv::settings() = kv::Settings();
}

// --- Derived sort tables that no longer match ----------------------------

namespace
{

class StaleRanks : public ::testing::Test
{
protected:
    // Export and the printed list of the whole table, and count over a
    // selection of every district, must all see exactly the table's firms.
    void expectAllAgree(const QString& mustContain)
    {
        const qint64 firms = home.scalar(QStringLiteral("SELECT count(*) FROM firma"));
        const Outcome e =
            run(kv::exportCommand, {"--home", home.path(), "-o", dir.filePath("export.txt")});
        EXPECT_EQ(e.code, 0) << e.err.toStdString();
        EXPECT_EQ(lineCount(dir.filePath("export.txt")), firms);
        EXPECT_TRUE(e.err.contains(QStringLiteral("warning"))) << e.err.toStdString();

        kv::SelectionState all;
        kv::engine::Database db(home.database());
        kv::engine::Statement okresy(db, QStringLiteral("SELECT id FROM okresy"));
        while (okresy.step())
            all.row(Row::Okres).add(QStringLiteral("x"), QString::number(okresy.int64(0)));
        kv::saveSelection(all, dir.filePath("all.kvv"));
        const Outcome c = run(kv::countCommand, {"--home", home.path(), dir.filePath("all.kvv")});
        if (firms > 0) {
            EXPECT_EQ(c.code, 0) << c.err.toStdString();
            EXPECT_EQ(c.out.trimmed(), QString::number(firms));
        }

        const Outcome p =
            run(kv::printListCommand, {"--home", home.path(), "-o", dir.filePath("list.pdf")});
        EXPECT_EQ(p.code, 0) << p.err.toStdString();
        EXPECT_TRUE(p.err.contains(QStringLiteral("warning"))) << p.err.toStdString();
        if (!mustContain.isEmpty()) {
            EXPECT_TRUE(kvtest::pdfText(dir.filePath("list.pdf")).contains(mustContain));
            QFile exported(dir.filePath("export.txt"));
            ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
            EXPECT_TRUE(exported.readAll().contains(mustContain.toLatin1()));
        }
        kv::settings() = kv::Settings();
    }

    OwnDemoHome home{40};
    QTemporaryDir dir;
};

} // namespace

TEST_F(StaleRanks, FirmAddedAfterTheRanksIsExportedPrintedAndCounted)
{
    home.sql(QStringLiteral("INSERT INTO firma (peno, nazev, okres_id, misto_id) "
                            "SELECT 99999999, 'AAAA Nova firma', okres_id, misto_id FROM firma "
                            "LIMIT 1"));
    expectAllAgree(QStringLiteral("AAAA Nova firma"));
}

TEST_F(StaleRanks, FirmDeletedOrTableEmptiedDoesNotStopExportOrPrinting)
{
    home.sql(QStringLiteral("DELETE FROM firma WHERE peno = (SELECT min(peno) FROM firma)"));
    expectAllAgree(QString());
    home.sql(QStringLiteral("DELETE FROM firma"));
    const Outcome e =
        run(kv::exportCommand, {"--home", home.path(), "-o", dir.filePath("empty.txt")});
    EXPECT_EQ(e.code, 0) << e.err.toStdString();
    EXPECT_FALSE(e.err.contains(QStringLiteral("disappeared"))) << e.err.toStdString();
    EXPECT_EQ(lineCount(dir.filePath("empty.txt")), 0);
}

TEST_F(StaleRanks, MatchingRanksGiveNoWarningAndTheDatabaseStaysUnwritten)
{
    const QByteArray before = [&] {
        QFile f(home.database());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const Outcome e =
        run(kv::exportCommand, {"--home", home.path(), "-o", dir.filePath("export.txt")});
    EXPECT_EQ(e.code, 0);
    EXPECT_FALSE(e.err.contains(QStringLiteral("warning"))) << e.err.toStdString();
    home.sql(QStringLiteral("INSERT INTO firma (peno, nazev) VALUES (99999999, 'X')"));
    const QByteArray changed = [&] {
        QFile f(home.database());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    kv::engine::Database db(home.database());
    ASSERT_EQ(db.rankWarnings().size(), 1);
    EXPECT_TRUE(db.rankWarnings().first().contains(QStringLiteral("firma")));
    QFile after(home.database());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), changed) << "opening must not rebuild the ranks in place";
    EXPECT_NE(changed, before);
}

TEST_F(StaleRanks, DesktopDataModuleListsEveryFirmInCzechOrderAndKeepsTheWarning)
{
    home.sql(QStringLiteral("INSERT INTO firma (peno, nazev) VALUES (99999999, 'Čáp a syn');"
                            "DELETE FROM firma WHERE peno = (SELECT min(peno) FROM firma)"));
    kv::settings().dataHome = home.path();
    kv::DataModule dm;
    const kv::DataModule::OpenResult opened = dm.openDatabase();
    ASSERT_EQ(opened.status, kv::DataModule::OpenStatus::Opened) << opened.message.toStdString();
    ASSERT_EQ(opened.warnings.size(), 1);
    EXPECT_TRUE(opened.warnings.first().contains(QStringLiteral("kv_rank_firma")));
    dm.firms()->setFilter(QString(), false);
    dm.firms()->setSort(QStringLiteral("nazev"));
    ASSERT_EQ(dm.firms()->recordCount(), home.scalar(QStringLiteral("SELECT count(*) FROM firma")));
    // Czech order: "Č" after every "C" and before "D", as the ranks would give.
    QStringList names;
    for (int p = 1; p <= dm.firms()->recordCount(); ++p)
        names << dm.firms()->rowAt(p).text(QStringLiteral("nazev"));
    const qsizetype at = names.indexOf(QStringLiteral("Čáp a syn"));
    ASSERT_GE(at, 0);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QChar first = names[i].isEmpty() ? QChar() : names[i][0];
        if (first == u'C' && !names[i].startsWith(QStringLiteral("Ch"))) { // "Ch" follows "H"
            EXPECT_LT(i, at) << names[i].toStdString();
        }
        if (first == u'D' || first == u'E' || first == u'Z') {
            EXPECT_GT(i, at) << names[i].toStdString();
        }
    }
    dm.closeDatabase();
    kv::settings() = kv::Settings();
}

// --- Company numbers beyond 32 bits --------------------------------------

TEST(WideCompanyNumbers, FoundThroughEveryIndexCriterionCountedAndExported)
{
    OwnDemoHome home(30);
    const qint64 peno = 5000000123LL;
    home.sql(QStringLiteral("INSERT INTO firma (peno, nazev, okres_id, misto_id) "
                            "VALUES (%1, 'Siroka Firma', 1, 1);"
                            "INSERT INTO slnazev VALUES (9900001, 'sirokaslovo');"
                            "INSERT INTO slnazev_p VALUES (9900001, %1);"
                            "INSERT INTO slulice VALUES (9900002, 'Siroka ulice');"
                            "INSERT INTO slUlice_p VALUES (9900002, %1);"
                            "INSERT INTO pzatrid VALUES (%1, 1, 9900003, 'Obor');"
                            "INSERT INTO slradky VALUES (9900004, 'radek');"
                            "INSERT INTO slRadky_p VALUES (9900004, %1);")
                 .arg(peno),
             true);
    QTemporaryDir dir;
    struct Case {
        Row row;
        const char* key;
    };
    for (const Case& c : {Case{Row::Nazev, "9900001"}, Case{Row::Ulice, "9900002"},
                          Case{Row::Zatrid, "9900003"}, Case{Row::Radky, "9900004"}}) {
        SCOPED_TRACE(c.key);
        kv::SelectionState s;
        s.row(c.row).add(QStringLiteral("x"), QLatin1String(c.key));
        const QString file = dir.filePath(QStringLiteral("%1.kvv").arg(c.key));
        kv::saveSelection(s, file);
        const Outcome f = run(kv::filterCommand, {"--home", home.path(), file});
        EXPECT_EQ(f.code, 0) << f.err.toStdString();
        EXPECT_EQ(f.out.trimmed(), QStringLiteral("(peno in (5000000123))"));
        const Outcome n = run(kv::countCommand, {"--home", home.path(), file});
        EXPECT_EQ(n.out.trimmed(), QStringLiteral("1")) << n.err.toStdString();
        const QString out = dir.filePath(QStringLiteral("%1.txt").arg(c.key));
        const Outcome e = run(kv::exportCommand, {"--home", home.path(), file, "-o", out});
        EXPECT_EQ(e.code, 0) << e.err.toStdString();
        QFile exported(out);
        ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
        EXPECT_TRUE(exported.readAll().startsWith("Siroka Firma"));
    }
}

// A note belongs to the whole company number: its file name, the note
// window, the profile, the printed list and profiles, and the note condition
// of a selection all carry the 64 bits.
TEST(WideCompanyNumbers, NoteWrittenShownSelectedAndPrinted)
{
    OwnDemoHome home(30);
    const qint64 peno = 5000000123LL;
    home.sql(QStringLiteral("INSERT INTO firma (peno, nazev, okres_id, misto_id) "
                            "VALUES (%1, 'Siroka Firma', 1, 1);")
                 .arg(peno),
             true);
    kv::settings().dataHome = home.path();
    {
        kv::DataModule dm;
        ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
        dm.firms()->setFilter(QStringLiteral("peno in(%1)").arg(peno), true);
        ASSERT_EQ(dm.firms()->recordCount(), 1);
        kv::NoteDialog editor(&dm);
        editor.editor()->setPlainText(QStringLiteral("Volat pred polednem\nDruhy radek"));
        editor.okButton()->click();
        ASSERT_EQ(editor.result(), QDialog::Accepted);
        EXPECT_EQ(QFileInfo(kv::NoteFile::path(peno)).fileName(), QStringLiteral("5000000123.tx"));
        QFile stored(home.file(QStringLiteral("Pozn/5000000123.tx")));
        ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
        EXPECT_EQ(stored.readAll(), QByteArray("Volat pred polednem\r\nDruhy radek\r\n"));
        EXPECT_EQ(kv::NoteFile::lines(peno), QStringList({"Volat pred polednem", "Druhy radek"}));
        kv::NoteDialog again(&dm);
        EXPECT_EQ(again.editor()->toPlainText(),
                  QStringLiteral("Volat pred polednem\nDruhy radek"));
        kv::ProfileWindow profile(&dm, nullptr, QString());
        profile.refresh();
        EXPECT_EQ(profile.noteMemo()->toPlainText(),
                  QStringLiteral("Volat pred polednem\nDruhy radek"));
        dm.closeDatabase();
    }
    // The firm whose number has the same low 32 bits must not see the note.
    EXPECT_FALSE(kv::NoteFile::exists(qint64(qint32(peno))));

    QTemporaryDir dir;
    kv::SelectionState s;
    s.cbPozn = true;
    const QString file = dir.filePath(QStringLiteral("notes.kvv"));
    kv::saveSelection(s, file);
    const Outcome f = run(kv::filterCommand, {"--home", home.path(), file});
    EXPECT_EQ(f.code, 0) << f.err.toStdString();
    EXPECT_EQ(f.out.trimmed(), QStringLiteral("(peno in (5000000123))"));
    const Outcome list = run(kv::printListCommand, {"--home", home.path(), file, "--items", "pozn",
                                                    "-o", dir.filePath("list.pdf")});
    ASSERT_EQ(list.code, 0) << list.err.toStdString();
    const QString listText = kvtest::pdfText(dir.filePath("list.pdf"));
    EXPECT_TRUE(listText.contains(QStringLiteral("Siroka Firma"))) << listText.toStdString();
    EXPECT_TRUE(listText.contains(QStringLiteral("Volat pred polednem"))) << listText.toStdString();
    const Outcome profiles = run(kv::printProfilesCommand,
                                 {"--home", home.path(), file, "-o", dir.filePath("profiles.pdf")});
    ASSERT_EQ(profiles.code, 0) << profiles.err.toStdString();
    EXPECT_TRUE(
        kvtest::pdfText(dir.filePath("profiles.pdf")).contains(QStringLiteral("Druhy radek")));
    kv::settings() = kv::Settings();
}

// --- Selection files beyond the limits -----------------------------------

namespace
{

class SelectionLimits : public ::testing::Test
{
protected:
    void SetUp() override { before.row(Row::Misto).add(QStringLiteral("Praha"), "1"); }
    void expectRefused(const QString& path, const QString& message)
    {
        kv::SelectionState state = before;
        EXPECT_KV_ERROR(kv::loadSelection(path, state), Selection);
        EXPECT_EQ(state, before);
        try {
            kv::loadSelection(path, state);
        } catch (const kv::Error& e) {
            EXPECT_EQ(e.kind(), kv::Error::Kind::Selection);
            EXPECT_TRUE(e.message().contains(message)) << e.message().toStdString();
        }
        const Outcome r = run(kv::countCommand, {"--home", home.path(), path});
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(message)) << r.err.toStdString();
    }
    kvtest::TestHome home;
    QTemporaryDir dir;
    kv::SelectionState before;
};

} // namespace

TEST_F(SelectionLimits, FileLargerThanTheLimitIsRefusedBeforeItIsRead)
{
    // A sparse file: its size alone must refuse it, nothing of it is read.
    const QString path = dir.filePath(QStringLiteral("huge.kvv"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(kv::selectionfile::MaxBytes + 1));
    f.close();
    expectRefused(path, QStringLiteral("too large"));
}

TEST_F(SelectionLimits, RowOfMoreValuesThanTheLimitIsRefused)
{
    kv::SelectionState s;
    QStringList& texts = s.row(Row::Ico).Texts;
    QStringList& ids = s.row(Row::Ico).Ids;
    for (qsizetype i = 0; i <= kv::CriterionValueList::MaxValues; ++i) {
        texts << QStringLiteral("x");
        ids << QStringLiteral("1");
    }
    const QString path = dir.filePath(QStringLiteral("many.kvv"));
    kv::saveSelection(s, path);
    ASSERT_LT(QFileInfo(path).size(), kv::selectionfile::MaxBytes);
    expectRefused(path, QStringLiteral("at most %1").arg(kv::CriterionValueList::MaxValues));
}

// --- One pass over a criterion row's values ------------------------------

namespace
{

// Answers every value of a row with a statement of its own, the way the
// engine's runner did before it answered a row in one pass.
class PerValueRunner : public kv::StatementRunner
{
public:
    explicit PerValueRunner(kv::engine::Database& db) : m_engine(db) {}
    kv::PenoList peno(const QStringList& lines) override
    {
        ++statements;
        return m_engine.peno(lines);
    }
    kv::PenoList combine(const std::function<QString()>& s, const QList<kv::PenoList>& lists,
                         bool all) override
    {
        return m_engine.combine(s, lists, all);
    }
    int statements = 0;

private:
    kv::EngineStatementRunner m_engine;
};

} // namespace

TEST(OnePassRows, ManyValuesGiveTheFirmsOfThePerValueStatements)
{
    OwnDemoHome home(120);
    kv::engine::Database db(home.database());
    struct Case {
        Row row;
        const char* keys;
    };
    for (const Case& c :
         {Case{Row::Nazev, "SELECT id FROM slnazev"}, Case{Row::Ulice, "SELECT id FROM slulice"},
          Case{Row::Zatrid, "SELECT DISTINCT kod FROM pzatrid"},
          Case{Row::Radky, "SELECT id FROM slradky"}}) {
        QStringList keys;
        kv::engine::Statement st(db, QLatin1String(c.keys));
        while (st.step())
            keys << QString::number(st.int64(0));
        ASSERT_GT(keys.size(), 3) << c.keys;
        keys << QStringLiteral("987654321") << keys.first(); // no firm; a repeated key
        // All of them, and a few picked so that an and-row can still match.
        for (const QStringList& chosen : {keys, keys.mid(0, 2), QStringList{keys[1], keys[1]}}) {
            for (bool all : {false, true}) {
                kv::SelectionState s;
                s.row(c.row).IsAnd = all;
                for (const QString& k : chosen)
                    s.row(c.row).add(QStringLiteral("x"), k);
                PerValueRunner slow(db);
                kv::EngineStatementRunner fast(db);
                const QString expected = kv::FilterBuilder(slow, QString()).buildFilter(s);
                if (!all) {
                    EXPECT_EQ(slow.statements, chosen.size()) << "one statement per value";
                }
                EXPECT_EQ(kv::FilterBuilder(fast, QString()).buildFilter(s), expected)
                    << c.keys << " and=" << all << " values=" << chosen.size();
            }
        }
    }
}
