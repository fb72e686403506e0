// Text export: the exact bytes of the file for the item and separator
// choices, the contact person rules, the limit, and that a cancelled or
// failed export leaves the target alone. Read from SQLite and, in
// test_domain_pg, from the server.
#include "domain/Export.h"
#include "core/Cp1250.h"
#include "core/Settings.h"
#include "domain/DataModule.h"
#include "domain/Exclusion.h"
#include "engine/TableCursor.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/TestBackend.h"
#include "tests/support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace
{

using kv::ExportChoice;
using kv::ExportItem;
using kv::TextExport;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

//   peno  nazev        ulice        misto  psc     okres    tel    osoby (sortno)
//   1     Alfa         Dlouhá 1     Praha  110 00  Praha 1  123    Eva Malá (1), Jan (2)
//   2     Beta         Krátká 2     Brno   602 00  Brno     -      Petr (2) only
//   3     Gama         -            Ústí   400 01  -        -      none
class Export : public ::testing::TestWithParam<kvtest::BackendCase>
{
protected:
    void SetUp() override
    {
        testDb.firm(1, "Alfa", QString::fromUtf8("Praha"), 1);
        testDb.firm(2, "Beta", "Brno", 2);
        testDb.firm(3, "Gama", QString::fromUtf8("Ústí"), 3);
        testDb.exec(QString::fromUtf8(
            "UPDATE firma SET ulice='Dlouhá 1', psc='110 00', okres='Praha 1', tel='123', "
            "fax='124', email='a@alfa.cz', www='www.alfa.cz' WHERE peno=1;"
            "UPDATE firma SET ulice='Krátká 2', psc='602 00', okres='Brno' WHERE peno=2;"
            "UPDATE firma SET psc='400 01' WHERE peno=3;"));
        testDb.insert("osoby", {1, "Jan", {}, {}, {}, {}, 2});
        testDb.insert("osoby", {1, QString::fromUtf8("Eva Malá"), {}, {}, {}, {}, 1});
        testDb.insert("osoby", {2, "Petr", {}, {}, {}, {}, 2});
        testDb.openReadOnly(true); // finished and closed
        db = kvtest::openOn(testDb.path(), GetParam());
        firms = std::make_unique<kv::engine::TableCursor>(*db, "firma");
        firms->setSort("peno");
        firms->open();
        out = dir.filePath("out.txt");
    }

    QByteArray run(const ExportChoice& choice)
    {
        const auto r = TextExport::run(*db, *firms, choice, out);
        EXPECT_EQ(r.status, TextExport::Status::Written) << r.error.toStdString();
        return readAll(out);
    }

    kvtest::CompanyDb testDb;
    std::unique_ptr<kv::engine::Database> db;
    std::unique_ptr<kv::engine::TableCursor> firms;
    QTemporaryDir dir;
    QString out;
};

TEST_P(Export, DefaultChoicesWithTab)
{
    const ExportChoice choice;
    EXPECT_EQ(run(choice), QByteArray("Alfa\tDlouh\xE1 1\tPraha\t110 00\t\r\n"
                                      "Beta\tKr\xE1tk\xE1 2\tBrno\t602 00\t\r\n"
                                      "Gama\t\t\xDAst\xED\t400 01\t\r\n"));
}

#ifndef KV_TEST_ON_SERVER
TEST(ExportSeparators, SeparatorsOfTheGroup)
{
    EXPECT_EQ(ExportChoice::separatorFor(0, "x"), ";");
    EXPECT_EQ(ExportChoice::separatorFor(1, "x"), "\t");
    EXPECT_EQ(ExportChoice::separatorFor(2, "x"), "x");
    EXPECT_EQ(ExportChoice::separatorFor(-1, "x"), "");
}
#endif

TEST_P(Export, EmptyOtherSeparatorWritesValuesBackToBack)
{
    ExportChoice choice;
    choice.separator = ExportChoice::separatorFor(2, QString());
    firms->setFilter("peno=1", true);
    EXPECT_EQ(run(choice), QByteArray("AlfaDlouh\xE1 1Praha110 00\r\n"));
}

TEST_P(Export, ThreeCharacterSeparatorFollowsEveryValue)
{
    ExportChoice choice;
    choice.items.fill(true);
    choice.separator = " |;";
    firms->setFilter("peno=1", true);
    EXPECT_EQ(run(choice), QByteArray("Alfa |;Dlouh\xE1 1 |;Praha |;110 00 |;Praha 1 |;123 |;124 |;"
                                      "a@alfa.cz |;www.alfa.cz |;Eva Mal\xE1 |;\r\n"));
}

TEST_P(Export, ContactPersonLastAndLeftOutWithoutPersonOne)
{
    ExportChoice choice;
    choice.items.fill(false);
    choice.set(ExportItem::Nazev, true);
    choice.set(ExportItem::Tel, true);
    choice.set(ExportItem::Osoba, true);
    choice.separator = ";";
    EXPECT_EQ(run(choice), QByteArray("Alfa;123;Eva Mal\xE1;\r\n"
                                      "Beta;;\r\n"
                                      "Gama;;\r\n"));
}

TEST_P(Export, OnlyContactPersonGivesEmptyLinesWithoutOne)
{
    ExportChoice choice;
    choice.items.fill(false);
    choice.set(ExportItem::Osoba, true);
    EXPECT_EQ(run(choice), QByteArray("Eva Mal\xE1\t\r\n\r\n\r\n"));
}

TEST_P(Export, NoItemGivesOneEmptyLinePerFirm)
{
    ExportChoice choice;
    choice.items.fill(false);
    EXPECT_EQ(run(choice), QByteArray("\r\n\r\n\r\n"));
}

TEST_P(Export, EmptySetWritesZeroBytes)
{
    firms->setFilter("peno=99", true);
    writeFile(out, "old content");
    EXPECT_EQ(run(ExportChoice()), QByteArray());
    EXPECT_TRUE(QFile::exists(out));
}

TEST_P(Export, ValuesAreWrittenUnchanged)
{
    ExportChoice choice;
    choice.items.fill(false);
    choice.set(ExportItem::Ulice, true);
    choice.separator = " ";
    firms->setFilter("peno=1", true);
    // The separator inside a value is not quoted or escaped.
    EXPECT_EQ(run(choice), QByteArray("Dlouh\xE1 1 \r\n"));
}

TEST_P(Export, CancelledExportLeavesAnExistingFileUntouched)
{
    writeFile(out, "old content");
    int calls = 0;
    const auto r = TextExport::run(*db, *firms, ExportChoice(), out, [&calls](int done, int total) {
        ++calls;
        EXPECT_EQ(total, 3);
        return done < 2;
    });
    EXPECT_EQ(r.status, TextExport::Status::Cancelled);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(readAll(out), "old content");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"out.txt"}));
}

TEST_P(Export, CancelledExportCreatesNoFile)
{
    const auto r =
        TextExport::run(*db, *firms, ExportChoice(), out, [](int, int) { return false; });
    EXPECT_EQ(r.status, TextExport::Status::Cancelled);
    EXPECT_FALSE(QFile::exists(out));
}

TEST_P(Export, WriteErrorNamesTheFile)
{
    const QString bad = dir.filePath("missing/out.txt");
    const auto r = TextExport::run(*db, *firms, ExportChoice(), bad);
    EXPECT_EQ(r.status, TextExport::Status::WriteFailed);
    EXPECT_TRUE(r.error.startsWith(bad)) << r.error.toStdString();
    EXPECT_FALSE(QFile::exists(bad));
}

TEST_P(Export, TargetThatIsAFolderIsAWriteErrorAndStaysAsItWas)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    const QString folder = dir.filePath("folder");
    const auto r = TextExport::run(*db, *firms, ExportChoice(), folder);
    EXPECT_EQ(r.status, TextExport::Status::WriteFailed);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

// Control characters in OOXML strings are written as "_x000D_".
QString unescapeXlsx(QString text)
{
    static const QRegularExpression escaped(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QRegularExpressionMatch m;
    while ((m = escaped.match(text)).hasMatch())
        text.replace(m.capturedStart(), m.capturedLength(),
                     QChar(m.captured(1).toUShort(nullptr, 16)));
    return text;
}

// The cells of an xlsx sheet by reference ("B2"), read back with unzip:
// shared strings resolved, numbers marked with a leading "#".
QMap<QString, QString> xlsxCells(const QString& path)
{
    auto part = [&](const char* name) {
        QProcess unzip;
        unzip.start("unzip", {"-p", path, QString::fromLatin1(name)});
        unzip.waitForFinished();
        return unzip.readAllStandardOutput();
    };
    QStringList shared;
    QXmlStreamReader strings(part("xl/sharedStrings.xml"));
    while (!strings.atEnd())
        if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == u"t")
            shared << unescapeXlsx(strings.readElementText());
    QMap<QString, QString> cells;
    QXmlStreamReader sheet(part("xl/worksheets/sheet1.xml"));
    QString ref, type;
    while (!sheet.atEnd()) {
        if (sheet.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (sheet.name() == u"c") {
            ref = sheet.attributes().value("r").toString();
            type = sheet.attributes().value("t").toString();
        } else if (sheet.name() == u"v") {
            const QString v = sheet.readElementText();
            cells[ref] = type == u"s" ? shared.value(v.toInt(), "<bad index>") : u'#' + v;
        }
    }
    return cells;
}

class SheetExport : public Export
{
protected:
    void SetUp() override
    {
        Export::SetUp();
        firms.reset();
        db.reset();
        {
            // A name with the separator and quotes, a street with a line break.
            kv::engine::Database writer(testDb.path(), kv::engine::Database::Mode::ReadWrite);
            writer.exec(QString::fromUtf8("UPDATE firma SET nazev='Alfa; \"Nová\"', "
                                          "ico='00123456', ulice='Dlouhá 1' || char(13, 10) || "
                                          "'vchod B' WHERE peno=1"));
        }
        db = kvtest::openOn(testDb.path(), GetParam());
        firms = std::make_unique<kv::engine::TableCursor>(*db, "firma");
        firms->setSort("peno");
        firms->open();
        choice.items.fill(false);
        choice.set(ExportItem::Nazev, true);
        choice.set(ExportItem::Ulice, true);
        choice.set(ExportItem::Osoba, true);
        choice.separator = ";";
    }
    ExportChoice choice;
};

TEST_P(SheetExport, CsvIsUtf8WithHeaderQuotedFieldsAndCrLf)
{
    choice.format = kv::ExportFormat::Csv;
    EXPECT_EQ(run(choice),
              QByteArray("\xEF\xBB\xBF") +
                  QString::fromUtf8("Číslo firmy;IČO;Název firmy;Ulice;Kontaktní osoba\r\n"
                                    "1;00123456;\"Alfa; \"\"Nová\"\"\";\"Dlouhá 1\r\n"
                                    "vchod B\";Eva Malá\r\n"
                                    "2;;Beta;Krátká 2;\r\n"
                                    "3;;Gama;;\r\n")
                      .toUtf8());
    // With a tab the semicolon needs no quotes, the quotes still do.
    choice.separator = "\t";
    const QByteArray tabbed = run(choice);
    EXPECT_TRUE(
        tabbed.contains(QString::fromUtf8("1\t00123456\t\"Alfa; \"\"Nová\"\"\"\t").toUtf8()))
        << tabbed.constData();
}

TEST_P(SheetExport, XlsxHoldsHeaderFirmNumbersAsNumbersAndIcoAsText)
{
    choice.format = kv::ExportFormat::Xlsx;
    out = dir.filePath("out.xlsx");
    const auto r = TextExport::run(*db, *firms, choice, out);
    ASSERT_EQ(r.status, TextExport::Status::Written) << r.error.toStdString();
    EXPECT_EQ(r.lines, 3);
    const QMap<QString, QString> cells = xlsxCells(out);
    EXPECT_EQ(cells.value("A1"), QString::fromUtf8("Číslo firmy"));
    EXPECT_EQ(cells.value("E1"), QString::fromUtf8("Kontaktní osoba"));
    EXPECT_EQ(cells.value("A2"), "#1");
    EXPECT_EQ(cells.value("B2"), "00123456");
    EXPECT_EQ(cells.value("C2"), QString::fromUtf8("Alfa; \"Nová\""));
    EXPECT_EQ(cells.value("D2"), QString::fromUtf8("Dlouhá 1\r\nvchod B"));
    EXPECT_EQ(cells.value("E2"), QString::fromUtf8("Eva Malá"));
    EXPECT_EQ(cells.value("A4"), "#3");
    EXPECT_EQ(cells.value("C4"), "Gama");
    EXPECT_FALSE(cells.contains("B4")); // no IČO, no cell
    EXPECT_FALSE(cells.contains("A5"));
    // Only the workbook is left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.xlsx"});
}

// The rows another program reads from a file: Python's csv module and
// openpyxl, as a spreadsheet user's tools would, each cell as text and an
// empty cell as "".
QList<QStringList> readBack(const QString& path, const QString& delimiter)
{
    static const char* script = R"(
import csv, json, sys
path, delimiter = sys.argv[1], sys.argv[2]
if path.endswith('.xlsx'):
    import openpyxl
    sheet = openpyxl.load_workbook(path).active
    # openpyxl leaves the format's escapes of control characters (_x000D_)
    # as they are; spreadsheets turn them back into the characters.
    import re
    unescape = lambda t: re.sub('_x([0-9A-Fa-f]{4})_', lambda m: chr(int(m.group(1), 16)), t)
    rows = [['' if v is None else unescape(str(v)) for v in r]
            for r in sheet.iter_rows(values_only=True)]
else:
    with open(path, newline='', encoding='utf-8-sig') as f:
        rows = list(csv.reader(f, delimiter=delimiter))
json.dump(rows, sys.stdout)
)";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), // Debian's, with python3-openpyxl
                 {QStringLiteral("-c"), QString::fromUtf8(script), path, delimiter});
    EXPECT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    QList<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList cells;
        for (const QJsonValue& cell : row.toArray())
            cells << cell.toString();
        rows << cells;
    }
    return rows;
}

TEST_P(SheetExport, PythonsCsvModuleAndOpenpyxlReadBackTheSameCells)
{
    const QList<QStringList> expected{
        {QString::fromUtf8("Číslo firmy"), QString::fromUtf8("IČO"),
         QString::fromUtf8("Název firmy"), "Ulice", QString::fromUtf8("Kontaktní osoba")},
        {"1", "00123456", QString::fromUtf8("Alfa; \"Nová\""),
         QString::fromUtf8("Dlouhá 1\r\nvchod B"), QString::fromUtf8("Eva Malá")},
        {"2", "", "Beta", QString::fromUtf8("Krátká 2"), ""},
        {"3", "", "Gama", "", ""}};
    choice.format = kv::ExportFormat::Csv;
    for (const QString separator : {";", ",", "\t"}) {
        choice.separator = separator;
        run(choice);
        EXPECT_EQ(readBack(out, separator), expected) << "separator " << separator.toStdString();
    }
    choice.format = kv::ExportFormat::Xlsx;
    out = dir.filePath("out.xlsx");
    run(choice);
    const QList<QStringList> sheet = readBack(out, ";");
    EXPECT_EQ(sheet, expected) << [&] {
        QStringList rows;
        for (const QStringList& row : sheet)
            rows << row.join(u'|');
        return rows.join(u'/').toStdString();
    }();
}

class ExportLimit : public ::testing::TestWithParam<kvtest::BackendCase>
{
};

TEST_P(ExportLimit, FiveThousandFirmsExportAndOneMoreIsRefused)
{
    kvtest::CompanyDb testDb;
    testDb.exec("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c WHERE x<5001) "
                "INSERT INTO firma(peno, nazev) SELECT x, 'F' || x FROM c");
    kvtest::BackendDb on(testDb, GetParam());
    kv::engine::Database& db = on.db();
    kv::engine::TableCursor firms(db, "firma");
    firms.setSort("peno");
    firms.setFilter("peno<=5000", true);
    firms.open();
    QTemporaryDir dir;
    const QString out = dir.filePath("five.txt");
    ExportChoice choice;
    choice.items.fill(false);
    choice.set(ExportItem::Nazev, true);
    auto r = TextExport::run(db, firms, choice, out);
    ASSERT_EQ(r.status, TextExport::Status::Written);
    EXPECT_EQ(r.lines, 5000);
    const QByteArray bytes = readAll(out);
    EXPECT_EQ(bytes.count("\r\n"), 5000);
    EXPECT_TRUE(bytes.endsWith("F5000\t\r\n"));

    firms.setFiltered(false);
    ASSERT_EQ(firms.recordCount(), 5001);
    const QString over = dir.filePath("over.txt");
    r = TextExport::run(db, firms, choice, over);
    EXPECT_EQ(r.status, TextExport::Status::TooMany);
    EXPECT_FALSE(QFile::exists(over));
}

// Through the data module: the print cursor sees the set with its exclusions.
class ExportOfTheCompanySet : public ::testing::TestWithParam<kvtest::BackendCase>
{
};

TEST_P(ExportOfTheCompanySet, ExcludedFirmsStayOut)
{
    kv::settings() = kv::Settings();
    kvtest::TestHome home;
    kv::settings().dataHome = home.path();
    {
        kvtest::CompanyDb db;
        db.companySet();
        db.finishInto(home.file("Dta/KV2001.db"));
    }
    kvtest::serveCompanyData(home.file("Dta/KV2001.db"), GetParam());
    kv::DataModule dm;
    ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    dm.firms()->setFilter("peno in (1,2)", true);
    dm.firms()->first();
    const QString kept = dm.firms()->fieldAt(2, "nazev").toString();
    kv::Exclusion exclusion(dm);
    exclusion.excludeCurrent();

    ExportChoice choice;
    choice.items.fill(false);
    choice.set(ExportItem::Nazev, true);
    choice.separator = ";";
    QTemporaryDir dir;
    const auto r = TextExport::run(dm, choice, dir.filePath("x.txt"));
    ASSERT_EQ(r.status, TextExport::Status::Written);
    EXPECT_EQ(readAll(dir.filePath("x.txt")), kv::Cp1250::encode(kept + ";\r\n"));
    EXPECT_FALSE(dm.printFirms()->isOpen());
    kv::settings() = kv::Settings();
}

INSTANTIATE_TEST_SUITE_P(Engines, Export, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });
INSTANTIATE_TEST_SUITE_P(Engines, SheetExport, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });
INSTANTIATE_TEST_SUITE_P(Engines, ExportLimit, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });
INSTANTIATE_TEST_SUITE_P(Engines, ExportOfTheCompanySet, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });

} // namespace
