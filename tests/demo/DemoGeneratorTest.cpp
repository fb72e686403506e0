// A 2,000-firm demo home, generated once per test build, checked against the database
// layout and the invariants the selection relies on.
#include "demo/DemoGenerator.h"
#include "demo/DemoHomeFolder.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DemoHomeTestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

using kvtest::DemoDb;

namespace
{

constexpr int kFirms = 2000;

class DemoHome : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        try {
            s_home = kvtest::demoHomeTemplate(kFirms, 7);
            s_ok = true;
        } catch (const std::runtime_error& e) {
            s_error = QString::fromStdString(e.what());
        }
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_ok) << s_error.toStdString();
        db = std::make_unique<DemoDb>(path("Dta/KV2001.db"));
        ASSERT_TRUE(db->isOpen());
    }
    static QString path(const QString& rel) { return QDir(s_home).filePath(rel); }

    static inline QString s_home;
    static inline bool s_ok = false;
    static inline QString s_error;
    std::unique_ptr<DemoDb> db;
};

TEST_F(DemoHome, HasEveryTableAndFieldWithItsType)
{
    const QMap<QString, QStringList> expected = {
        {"firma",
         {"peno INTEGER", "ico TEXT", "nazev TEXT", "ulice TEXT", "misto_id INTEGER", "misto TEXT",
          "okres_id INTEGER", "okres TEXT", "tel TEXT", "fax TEXT", "email TEXT", "www TEXT",
          "logo TEXT", "placena TEXT", "link TEXT", "reklama TEXT", "psc TEXT"}},
        {"osoby",
         {"peno INTEGER", "osoba TEXT", "tel TEXT", "fax TEXT", "email TEXT", "www TEXT",
          "sortno INTEGER"}},
        {"reklamy", {"peno INTEGER", "txt TEXT"}},
        {"pzatrid", {"peno INTEGER", "sortno INTEGER", "kod INTEGER", "txt TEXT"}},
        {"radky", {"peno INTEGER", "sortno INTEGER", "radek TEXT", "kod INTEGER"}},
        {"mista", {"id INTEGER", "misto TEXT", "okres_id INTEGER"}},
        {"okresy", {"id INTEGER", "okres TEXT", "spz TEXT"}},
        {"zatrid", {"kod TEXT", "txt TEXT"}},
        {"slnazev", {"id INTEGER", "txt TEXT"}},
        {"slulice", {"id INTEGER", "txt TEXT"}},
        {"slradky", {"id INTEGER", "txt TEXT"}},
        {"slico", {"ico TEXT", "peno INTEGER"}},
        {"slnazev_p", {"id INTEGER", "peno INTEGER"}},
        {"slUlice_p", {"id INTEGER", "peno INTEGER"}},
        {"slRadky_p", {"id INTEGER", "peno INTEGER"}},
    };
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        QStringList actual;
        for (const QVariantList& r : db->rows("pragma table_info(" + it.key() + ")"))
            actual << r[1].toString() + " " + r[2].toString();
        EXPECT_EQ(actual, it.value()) << it.key().toStdString();
        EXPECT_GT(db->count("select count(*) from " + it.key()), 0) << it.key().toStdString();
    }
}

TEST_F(DemoHome, HoldsTheRequestedFirmsAndTheStartFirm)
{
    EXPECT_EQ(db->count("select count(*) from firma"), kFirms);
    EXPECT_EQ(db->count("select count(*) from firma where peno=200219"), 1);
    EXPECT_EQ(db->count("select count(*) from firma where peno<=0"), 0);
    // The start firm shows every section of the profile.
    EXPECT_EQ(db->count("select count(*) from firma where peno=200219 and logo is not null and "
                        "www is not null and link='A'"),
              1);
    EXPECT_GT(db->count("select count(*) from osoby where peno=200219"), 0);
    EXPECT_GT(db->count("select count(*) from reklamy where peno=200219"), 0);
    EXPECT_GT(db->count("select count(*) from radky where peno=200219"), 0);
}

TEST_F(DemoHome, MissingValuesAreNullNotEmptyText)
{
    const QMap<QString, QStringList> textFields = {
        {"firma",
         {"ico", "nazev", "ulice", "misto", "okres", "tel", "fax", "email", "www", "logo",
          "placena", "link", "reklama", "psc"}},
        {"osoby", {"osoba", "tel", "fax", "email", "www"}},
        {"reklamy", {"txt"}},
        {"pzatrid", {"txt"}},
        {"radky", {"radek"}}};
    for (auto it = textFields.begin(); it != textFields.end(); ++it)
        for (const QString& f : it.value())
            EXPECT_EQ(db->count("select count(*) from " + it.key() + " where " + f + "=''"), 0)
                << (it.key() + "." + f).toStdString();
    // Optional values: some firms have them, some do not.
    for (const QString f : {"fax", "email", "www", "logo", "placena", "link", "reklama"}) {
        const qint64 nulls = db->count("select count(*) from firma where " + f + " is null");
        EXPECT_GT(nulls, 0) << f.toStdString();
        EXPECT_LT(nulls, kFirms) << f.toStdString();
    }
    EXPECT_EQ(db->count("select count(*) from firma where placena is not null and placena<>'A'"),
              0);
    EXPECT_EQ(db->count("select count(*) from firma where link is not null and link<>'A'"), 0);
    // About one firm in twenty pays for its entry.
    const qint64 paid = db->count("select count(*) from firma where placena='A'");
    EXPECT_GT(paid, kFirms / 50);
    EXPECT_LT(paid, kFirms / 10);
}

TEST_F(DemoHome, CompanyNumbersHaveValidCheckDigitsAndAreListed)
{
    const QVariantList icos = db->column("select ico from firma where ico is not null");
    ASSERT_GT(icos.size(), kFirms * 9 / 10);
    QSet<QString> seen;
    for (const QVariant& v : icos) {
        const QString ico = v.toString();
        ASSERT_TRUE(QRegularExpression("^[0-9]{8}$").match(ico).hasMatch()) << ico.toStdString();
        int sum = 0;
        for (int i = 0; i < 7; ++i)
            sum += ico[i].digitValue() * (8 - i);
        const int expected = (11 - sum % 11) % 10;
        EXPECT_EQ(ico[7].digitValue(), expected) << ico.toStdString();
        EXPECT_FALSE(seen.contains(ico)) << ico.toStdString();
        seen.insert(ico);
    }
    // slico lists exactly the firms' numbers.
    EXPECT_EQ(db->count("select count(*) from slico"), icos.size());
    EXPECT_EQ(db->count("select count(*) from slico s join firma f on f.peno=s.peno and "
                        "f.ico=s.ico"),
              icos.size());
}

TEST_F(DemoHome, IndexTablesPointAtExistingFirmsAndDictionaryEntries)
{
    const QList<QPair<QString, QString>> pairs = {
        {"slnazev", "slnazev_p"}, {"slulice", "slUlice_p"}, {"slradky", "slRadky_p"}};
    for (const auto& [dict, index] : pairs) {
        SCOPED_TRACE(index.toStdString());
        EXPECT_EQ(db->count("select count(*) from " + index + " where id not in (select id from " +
                            dict + ")"),
                  0);
        EXPECT_EQ(db->count("select count(*) from " + index +
                            " where peno not in (select peno from firma)"),
                  0);
        // Every dictionary entry finds at least one firm.
        EXPECT_EQ(db->count("select count(*) from " + dict + " where id not in (select id from " +
                            index + ")"),
                  0);
        EXPECT_EQ(db->count("select count(*) from (select id, peno from " + index +
                            " group by id, peno having count(*)>1)"),
                  0);
        EXPECT_EQ(db->count("select count(*) from (select txt from " + dict +
                            " group by txt having count(*)>1)"),
                  0);
        EXPECT_EQ(db->count("select count(*) from " + dict + " where txt is null or txt=''"), 0);
    }
}

TEST_F(DemoHome, EveryWordOfAFirmNameIsIndexedForThatFirm)
{
    QHash<QString, qint64> wordIds;
    for (const QVariantList& r : db->rows("select txt, id from slnazev"))
        wordIds.insert(r[0].toString(), r[1].toLongLong());
    QSet<QPair<qint64, qint64>> indexRows;
    for (const QVariantList& r : db->rows("select id, peno from slnazev_p"))
        indexRows.insert({r[0].toLongLong(), r[1].toLongLong()});

    qint64 expectedRows = 0;
    for (const QVariantList& r : db->rows("select peno, nazev from firma")) {
        QSet<QString> words;
        for (const QString& w :
             r[1].toString().split(QRegularExpression("[\\s,]+"), Qt::SkipEmptyParts))
            if (w.size() >= 2 && w.contains(QRegularExpression("[\\p{L}\\p{N}]")))
                words.insert(w);
        expectedRows += words.size();
        for (const QString& w : words) {
            ASSERT_TRUE(wordIds.contains(w)) << w.toStdString();
            EXPECT_TRUE(indexRows.contains({wordIds[w], r[0].toLongLong()}))
                << w.toStdString() << " " << r[0].toLongLong();
        }
    }
    // ... and nothing else is indexed.
    EXPECT_EQ(indexRows.size(), expectedRows);
}

TEST_F(DemoHome, StreetsAreIndexedWithoutHouseNumbers)
{
    const QRegularExpression number(" [0-9]+(/[0-9]+)?[a-z]?$");
    const auto rows =
        db->rows("select f.peno, f.ulice, s.txt from firma f left join slUlice_p p on "
                 "p.peno=f.peno left join slulice s on s.id=p.id where f.ulice is not null");
    ASSERT_GT(rows.size(), kFirms * 9 / 10);
    for (const QVariantList& r : rows) {
        const QString ulice = r[1].toString();
        ASSERT_TRUE(number.match(ulice).hasMatch()) << ulice.toStdString();
        EXPECT_EQ(r[2].toString(), QString(ulice).remove(number)) << ulice.toStdString();
    }
    EXPECT_EQ(db->count("select count(*) from slUlice_p p join firma f on f.peno=p.peno where "
                        "f.ulice is null"),
              0);
}

TEST_F(DemoHome, ActivityLinesBeginWithATabAndCarryTheirKeywords)
{
    EXPECT_GT(db->count("select count(*) from radky"), kFirms / 2);
    EXPECT_EQ(db->count("select count(*) from radky where substr(radek,1,1)<>char(9)"), 0);
    // Every line belongs to an industry row of its firm.
    EXPECT_EQ(db->count("select count(*) from radky r where not exists (select 1 from pzatrid z "
                        "where z.peno=r.peno and z.kod=r.kod)"),
              0);
    QHash<qint64, QString> linesOf;
    for (const QVariantList& r : db->rows("select peno, radek from radky"))
        linesOf[r[0].toLongLong()] += r[1].toString().toLower() + "\n";
    for (const QVariantList& r :
         db->rows("select p.peno, s.txt from slRadky_p p join slradky s on s.id=p.id"))
        EXPECT_TRUE(linesOf.value(r[0].toLongLong()).contains(r[1].toString()))
            << r[1].toString().toStdString();
}

TEST_F(DemoHome, TownsDistrictsAndIndustriesMatchTheirDictionaries)
{
    EXPECT_EQ(db->count("select count(*) from firma f left join mista m on m.id=f.misto_id "
                        "where m.id is null or m.misto<>f.misto or m.okres_id<>f.okres_id"),
              0);
    EXPECT_EQ(db->count("select count(*) from firma f left join okresy o on o.id=f.okres_id "
                        "where o.id is null or o.okres<>f.okres"),
              0);
    EXPECT_EQ(db->count("select count(*) from mista where id not in (select misto_id from firma)"),
              0);
    EXPECT_EQ(db->count("select count(*) from okresy where id not in (select okres_id from "
                        "firma)"),
              0);
    EXPECT_EQ(db->count("select count(*) from okresy where length(spz)<>2"), 0);
    EXPECT_EQ(db->count("select count(distinct spz) from okresy"),
              db->count("select count(*) from okresy"));
    EXPECT_EQ(db->count("select count(*) from firma where psc not glob '[0-9][0-9][0-9] "
                        "[0-9][0-9]'"),
              0);
    // Prague is the largest town and gets the most firms.
    EXPECT_EQ(db->column("select misto from firma group by misto order by count(*) desc limit 1")
                  .value(0)
                  .toString(),
              QStringLiteral("Praha"));

    // Industry codes: the text in zatrid reads back as the integer in pzatrid.
    EXPECT_EQ(db->count("select count(*) from pzatrid p left join zatrid z on "
                        "cast(z.kod as integer)=p.kod where z.kod is null or z.txt<>p.txt"),
              0);
    EXPECT_EQ(db->count("select count(*) from zatrid where cast(cast(kod as integer) as text)"
                        "<>kod or cast(kod as integer) not in (select kod from pzatrid)"),
              0);
    const auto perFirm = db->column("select count(*) from firma f left join pzatrid p on "
                                    "p.peno=f.peno group by f.peno");
    for (const QVariant& n : perFirm) {
        EXPECT_GE(n.toInt(), 1);
        EXPECT_LE(n.toInt(), 4);
    }
}

TEST_F(DemoHome, PersonsAreNumberedFromOne)
{
    EXPECT_EQ(db->count("select count(*) from (select peno from osoby group by peno having "
                        "min(sortno)<>1 or max(sortno)<>count(*) or count(*)>6)"),
              0);
    EXPECT_EQ(db->count("select count(*) from osoby where osoba not like '%, %'"), 0);
    EXPECT_GT(db->count("select count(*) from firma where peno not in (select peno from osoby)"),
              0);
    EXPECT_GT(db->count("select count(*) from osoby where email is not null"), 0);
}

TEST_F(DemoHome, HasTheIndexesTheSelectionUses)
{
    // Leading columns: pzatrid(peno) is served by an index on (peno, sortno).
    // The index tables are read by key for their peno, from the index alone.
    const QStringList wanted = {"slnazev_p(id,peno)", "slulice_p(id,peno)", "slradky_p(id,peno)",
                                "pzatrid(kod,peno)",  "pzatrid(peno)",      "osoby(peno)",
                                "radky(peno,kod)",    "reklamy(peno)",      "firma(misto_id)",
                                "firma(okres_id)",    "slico(ico)",         "slnazev(txt)",
                                "slulice(txt)",       "slradky(txt)"};
    QStringList present;
    for (const QVariantList& idx :
         db->rows("select name, tbl_name from sqlite_master where type='index'")) {
        QStringList cols;
        for (const QVariantList& c : db->rows("pragma index_info(" + idx[0].toString() + ")"))
            cols << c[2].toString();
        present << idx[1].toString().toLower() + "(" + cols.join(",") + ")";
    }
    for (const QString& w : wanted) {
        const QString lead = w.chopped(1);
        const bool found = std::any_of(present.begin(), present.end(), [&](const QString& p) {
            return p == w || p.startsWith(lead + ',');
        });
        EXPECT_TRUE(found) << w.toStdString() << " in " << present.join(' ').toStdString();
    }
}

TEST_F(DemoHome, PicturesExistForEveryNamedLogoAndAdvertisement)
{
    const QVariantList logos = db->column("select logo from firma where logo is not null");
    const QVariantList ads = db->column("select txt from reklamy");
    ASSERT_FALSE(logos.isEmpty());
    ASSERT_FALSE(ads.isEmpty());
    for (const QVariant& l : logos) {
        EXPECT_LE(l.toString().size(), 12);
        EXPECT_FALSE(QImage(path("Log/" + l.toString())).isNull()) << l.toString().toStdString();
    }
    for (const QVariant& a : ads) {
        EXPECT_LE(a.toString().size(), 14);
        EXPECT_FALSE(QImage(path("RK/" + a.toString())).isNull()) << a.toString().toStdString();
    }
    // Only the named pictures are there.
    EXPECT_EQ(QDir(path("Log")).entryList(QDir::Files).size(), logos.size());
    EXPECT_EQ(QDir(path("RK")).entryList(QDir::Files).size(), ads.size());
    EXPECT_EQ(db->count("select count(*) from firma where (reklama is null) <> (peno not in "
                        "(select peno from reklamy))"),
              0);
}

TEST_F(DemoHome, HasTheTwelvePresentationPagesTheHelpAndAnEmptyNoteFolder)
{
    for (const QString page : {"LUM", "KV", "VE", "PE", "TA", "KO"}) {
        for (const QString lang : {"_C", "_E"}) {
            QImageReader reader(path("Prez/" + page + lang + ".JPG"));
            EXPECT_EQ(reader.format(), QByteArray("jpeg")) << (page + lang).toStdString();
            EXPECT_FALSE(reader.read().isNull()) << (page + lang).toStdString();
        }
    }
    EXPECT_EQ(QDir(path("Prez")).entryList(QDir::Files).size(), 12);
    EXPECT_TRUE(QDir(path("Pozn")).exists());
    EXPECT_TRUE(QDir(path("Pozn")).isEmpty());

    QFile help(path("KV2001.html"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    QFile builtIn(":/KV2001.html");
    ASSERT_TRUE(builtIn.open(QIODevice::ReadOnly));
    const QByteArray text = help.readAll();
    EXPECT_EQ(text, builtIn.readAll());
    EXPECT_TRUE(text.contains("id=\"vyber\""));
    // Every link inside the help leads to an anchor that exists.
    const QString html = QString::fromUtf8(text);
    QSet<QString> anchors;
    for (const auto& m : QRegularExpression("<a name=\"([^\"]+)\"").globalMatch(html))
        anchors.insert(m.captured(1));
    EXPECT_GE(anchors.size(), 12);
    for (const auto& m : QRegularExpression("href=\"#([^\"]+)\"").globalMatch(html))
        EXPECT_TRUE(anchors.contains(m.captured(1))) << m.captured(1).toStdString();
}

TEST_F(DemoHome, SameSeedGivesIdenticalFilesAndAnotherSeedDifferentOnes)
{
    QTemporaryDir again, other;
    kv::DemoGenerator::Options o;
    o.firms = kFirms;
    o.seed = 7;
    QString error;
    ASSERT_TRUE(kv::DemoHomeFolder::prepare(again.path(), false, &error));
    kv::DemoGenerator first(o);
    ASSERT_TRUE(first.generate(again.path())) << first.error().toStdString();
    const auto original = kvtest::fileHashes(s_home);
    const auto repeated = kvtest::fileHashes(again.path());
    EXPECT_EQ(original.keys(), repeated.keys());
    EXPECT_TRUE(original == repeated);

    ASSERT_TRUE(kv::DemoHomeFolder::prepare(other.path(), false, &error));
    o.seed = 8;
    o.firms = 50;
    kv::DemoGenerator second(o);
    ASSERT_TRUE(second.generate(other.path())) << second.error().toStdString();
    EXPECT_NE(kvtest::fileHashes(other.path()).value("Dta/KV2001.db"),
              original.value("Dta/KV2001.db"));
}

} // namespace
