#include "core/StringTable.h"
#include "core/Settings.h"

#include <QSet>
#include <gtest/gtest.h>

namespace
{

using kv::loadStr;
using kv::StringTable;

struct Row {
    int id;
    const char* text; // UTF-8
};

// Czech texts as the windows and messages quote them, with their
// accelerators, placeholders, typos and surrounding spaces.
const Row kCzech[] = {
    {1, "&Výběr"},
    {2, "&Konec"},
    {3, "&Zobrazit"},
    {4, "&Seznam"},
    {5, "&Profil"},
    {6, "&Nastavení"},
    {7, "&Okna"},
    {8, "&Vedle sebe"},
    {9, "&Pod sebou"},
    {10, "&Kaskáda"},
    {11, "Seznam firem"},
    {12, "Profil firmy"},
    {13, "&Nový"},
    {14, "&Prezentace"},
    {15, "Při čtení konfigurace doško k chybě !"},
    {17, "Chyba ...!"},
    {18, "Nemohu najít soubory databáze"},
    {19, "Nelze otevřít databázové tabulky !"},
    {20, "PE No."},
    {21, "IČO"},
    {22, "Název firmy"},
    {23, "Ulice"},
    {24, "Místo"},
    {25, "PSČ"},
    {26, "Okres"},
    {27, "Telefon"},
    {28, "Fax"},
    {29, "E-Mail"},
    {30, "Internet"},
    {31, "Jméno a funkce"},
    {32, "Oborové zatřídění"},
    {33, "Kontaktní osoby"},
    {65, "Zobrazovat v \"Profilu firmy\""},
    {66, "Zobrazovat v \"Seznamu firem\""},
    {67, "&Ok"},
    {68, "&Zrušit"},
    {69, "Logo"},
    {70, "Adresa"},
    {71, "Kontakty"},
    {72, "Výběr firem"},
    {73, "Logika &v řádku"},
    {74, "Logik&a mezi řádky"},
    {75, "a zároveň"},
    {76, "nebo"},
    {77, "Úprava výběrových kritérií"},
    {78, "Smaza&t"},
    {79, "Požadovaným výběrovým kritériím neodpovídá žádný záznam !"},
    {80, "Upozornění ..."},
    {82, "Počet záznamů"},
    {83, "Štít&ky"},
    {84, "&Export do souboru"},
    {85, "Dotaz ..."},
    {86, "Smazat všechna výběrová kritéria ?"},
    {87, "&Slovník"},
    {88, "S&mazat vše"},
    {89, "S&počítat"},
    {90, "&Upravit"},
    {91, "&Načíst"},
    {92, "U&ložit"},
    {93, "&Nápověda"},
    {94, "&Obsah"},
    {95, "O &programu ..."},
    {96, "&Tisk"},
    {97, "&Položky"},
    {98, "O&ddelovač"},
    {99, "&Středník"},
    {100, "&Tabelátor"},
    {101, "&Jiný"},
    {102, "Nastavení"},
    {103, "Export do souboru"},
    {104, "O programu ..."},
    {105, "Probíhá export ..."},
    {106, "Přesun na první záznam"},
    {107, "Předchozí záznam"},
    {108, "Další záznam"},
    {109, "Přesun na poslední záznam"},
    {110, "Vložit poznámku"},
    {111, "Poznámka"},
    {112, "Prezentace"},
    {113, "&Zavřít"},
    {114, "&Vyjmout záznam"},
    {115, "U&kázat vyjmuté"},
    {116, "Obnov &vše"},
    {117, "&Obnov vybrané"},
    {118, "Vyjmuté záznamy"},
    {119, "Upozornění ..."},
    {120, "Nelze vyjmout poslední záznam !"},
    {121, "&Jazyk"},
    {122, "Název, adresa"},
    {123, "&Náhled/Tisk"},
    {124, "&Tiskárna"},
    {125, "Tisk seznamu firem"},
    {128, "První strana"},
    {129, "Předchozí strana"},
    {130, "Další strana"},
    {131, "Poslední strana"},
    {132, "Zobrazit celou stranu"},
    {133, "Zobrazit detail"},
    {134, "Tisk"},
    {135, " Strana "},
    {136, " z "},
    {146, "Nastavení tisku profilů"},
    {147, "Nastavení tisku štítků"},
    {148, "Vnější &okraje tisku"},
    {149, "mm"},
    {150, "Levý"},
    {151, "Pravý"},
    {152, "Horní"},
    {153, "Dolní"},
    {154, "Vodorovně"},
    {155, "Svisle"},
    {156, "Vodorovně"},
    {157, "Svisle"},
    {158, "Počet štítků"},
    {159, "Mezera mezi štítky"},
    {160, "Rozměr štítku"},
    {161, "Výška"},
    {162, "Šířka"},
    {163, "Soubor neobsahuje informace o adresních štítcích pro aplikaci  "},
    {164, "Při načítání ze souboru %s došlo k neočekávané chybě !"},
    {165, "Při ukládání do souboru %s došlo k neočekávané chybě !"},
    {168, "&Písmo"},
    {169, "&Načíst"},
    {170, "&Uložit"},
    {171, "Náhled"},
    {172, "Obsah štítku"},
    {173, "Oslovení"},
    {175, "Výběr oboru podle zadaného slova"},
    {176, "&Vyhledat"},
    {181, "Verze : "},
    {182, "Stránka  A4 210x297 mm"},
    {183, "CZECH REPUBLIC"},
    {184, "Základní nastavení"},
    {185, "Ukončit  "},
    {186, "Setřídit záznamy"},
    {187, "Kvelta"},
    {188, "Velund"},
    {189, "Pelorin"},
    {190, "Tamsik"},
    {191, "Připomínky a náměty"},
    {192, "Lumora"},
    {194, "Vyjmout záznam"},
    {195, "Záznam"},
    {196, "Nezadal jste žádné výběrové kritérium."},
    {197, "Upravit"},
    {198, "Hledat obor"},
    {199, "Zadejte text (nebo část textu), který bude hledán ve slovníku oborového zatřídění"},
    {201, "Prezentace"},
    {209, "Štítky KV2001  (*.kl)|*.KL"},
    {210, "Výběry KV2001 |*.kvv"},
    {218, "Lze exportovat nejvíce 5000 záznamů.\r\nOmezte prosím výběr."},
    {220, "Počet vyjmutých záznamů : "},
    {221, "Klíčová slova"},
    {222, "Aktuální údaje o -- "},
    {223, " -- na internetu."},
    {224, "&Důležité odkazy"},
    {225, "Kontaktní osoba"},
    {226, "Strana"},
    {230, " Tisknout "},
    {231, " profily všech vybraných firem"},
    {232, " jen profil aktuálně nastavené firmy"},
    {233, "Soubor neobsahuje informace o výběrových kritériích pro aplikaci  "},
    {234, "&Ukaž výběr"},
    {235, "&Zavři okno"},
    {236, "Pouze firmy s e-mailem"},
    {237, "Pouze firmy s WWW stránkami"},
    {238, "Firmy s poznámkou"},
    {239, "Zavři okno"},
    {240, "Tip"},
    {241, "Obchodní rejstřík"},
    {242, "ARES"},
    {243, "Prosím vyčkejte ... "},
    {244, "Aktuální údaje na internetu."},
    {245, "Není vybrán žádný obor ! "},
};

// English texts under their Czech id; the row itself is id + 500.
const Row kEnglish[] = {
    {1, "&Search"},
    {2, "&Exit"},
    {3, "&View"},
    {4, "&List"},
    {5, "&Profile"},
    {6, "&Options"},
    {7, "&Windows"},
    {8, "Tile &Vertically"},
    {9, "Tile &Horizontally"},
    {10, "&Cascade"},
    {11, "List of Companies"},
    {12, "Company Profile"},
    {13, "&New"},
    {14, "Our &Products"},
    {15, "Error reading configuration !"},
    {17, "Error ...!"},
    {18, "Cannot find database file !"},
    {19, "Cannot open database tables !"},
    {21, "Id No."},
    {22, "Company name"},
    {23, "Street"},
    {24, "Town/City"},
    {25, "Postcode"},
    {26, "District"},
    {27, "Phone"},
    {28, "Fax"},
    {29, "E-mail"},
    {30, "Internet"},
    {32, "Classification"},
    {33, "Executives"},
    {65, "Display in \"Company Profile\""},
    {66, "Display in \"List of companies\""},
    {67, "&OK"},
    {68, "&Cancel"},
    {70, "Address"},
    {71, "Contacts"},
    {72, "Set search criteria"},
    {73, "Logic &in line"},
    {74, "Logic &between lines"},
    {75, "And"},
    {76, "Or"},
    {77, "Modify search criteria"},
    {78, "Dele&te"},
    {79, "Sorry, there are no records that match your criteria !"},
    {80, "Warning ..."},
    {82, "Record count"},
    {83, "&Labels"},
    {84, "&Export to file"},
    {85, "Query ..."},
    {86, "Clear all search criteria ?"},
    {87, "Dictionary"},
    {88, "&Clear all"},
    {89, "Cou&nt"},
    {90, "&Modify"},
    {91, "&Load"},
    {92, "&Save"},
    {93, "&Help"},
    {94, "&Content"},
    {95, "&About ..."},
    {96, "P&rint"},
    {97, "&Items"},
    {98, "&Delimiter"},
    {99, "&Semicolon"},
    {100, "&Tab"},
    {101, "Ot&her"},
    {102, "Options"},
    {103, "Export to file"},
    {104, "About ..."},
    {105, "Exporting data ..."},
    {106, "Move to first record"},
    {107, "Previous record"},
    {108, "Next record"},
    {109, "Move to last record"},
    {110, "Add note"},
    {111, "Note"},
    {112, "Presentation/s"},
    {113, "&Close"},
    {114, "&Exclude record"},
    {115, "Show e&xcluded"},
    {116, "Restore &all"},
    {117, "&Restore selected"},
    {118, "Excluded records"},
    {119, "Warning ..."},
    {120, "Cannot exclude last record !"},
    {121, "&Language"},
    {122, "Name and address"},
    {123, "&Preview/Print"},
    {124, "Prin&ter"},
    {125, "Print list of companies"},
    {128, "First page"},
    {129, "Previous page"},
    {130, "Next page"},
    {131, "Last page"},
    {132, "Show whole page"},
    {133, "Show details"},
    {134, "Print"},
    {135, " Page "},
    {136, " of "},
    {146, "Print profiles"},
    {147, "Print labels"},
    {148, "Margins"},
    {150, "Left"},
    {151, "Right"},
    {152, "Top"},
    {153, "Bottom"},
    {156, "Horizontally"},
    {157, "Vertically"},
    {158, "Label count"},
    {159, "Space between labels"},
    {160, "Label size"},
    {161, "Height"},
    {162, "Width"},
    {163, "This file does not contain label settings for  "},
    {164, "Unexpected error loading from file %s !"},
    {165, "Unexpected error saving to file %s !"},
    {168, "&Font"},
    {169, "&Load"},
    {170, "&Save"},
    {171, "Preview"},
    {172, "Content of label"},
    {173, "Title"},
    {175, "Find industry by keyword"},
    {176, "&Search"},
    {181, "Version : "},
    {182, "Paper A4 210x297 mm"},
    {183, "CZECH REPUBLIC"},
    {184, "Default setting"},
    {185, "Exit   "},
    {186, "Sort records by"},
    {187, "Kvelta"},
    {188, "Velund"},
    {189, "Pelorin"},
    {190, "Tamsik"},
    {191, "Comments"},
    {194, "Exclude record"},
    {195, "Record"},
    {196, "You entered no search criteria."},
    {197, "Modify"},
    {198, "Find industry"},
    {199, "Enter text (in full or in part) to be found in dictionary of industries"},
    {201, "Our products"},
    {209, "Labels KV2001  (*.kl)|*.KL"},
    {210, "Selections KV2001 |*.kvv"},
    {218, "Only 5000 records can be exported.\r\nLimit your search please."},
    {220, "Number of excluded records : "},
    {221, "Keywords"},
    {222, "Current data on -- "},
    {223, " -- on the Internet."},
    {224, "&Useful links"},
    {225, "Contact person"},
    {226, "Page"},
    {233, "This file does not contain select settings for  "},
    {234, "&Show selection"},
    {235, "&Close"},
    {236, "Only companies with e-mail"},
    {237, "Only companies with web pages"},
    {238, "Companies with a note"},
    {239, "Close"},
    {240, "Tip"},
    {241, "Commercial Register"},
    {242, "ARES"},
    {243, "Please wait ... "},
    {245, "No industry selected ! "},
};

// Keeps the program-wide language offset as a test found it.
class LangBaseGuard
{
public:
    explicit LangBaseGuard(int value) : saved_(kv::settings().langBase)
    {
        kv::settings().langBase = value;
    }
    ~LangBaseGuard() { kv::settings().langBase = saved_; }

private:
    int saved_;
};

TEST(StringTableResource, CzechTextsAsQuoted)
{
    LangBaseGuard czech(0);
    for (const Row& r : kCzech)
        EXPECT_EQ(loadStr(r.id), QString::fromUtf8(r.text)) << "id " << r.id;
}

TEST(StringTableResource, EnglishTextsUnderLangBase500)
{
    LangBaseGuard english(500);
    for (const Row& r : kEnglish) {
        const QString expected = QString::fromUtf8(r.text);
        EXPECT_EQ(loadStr(r.id), expected) << "id " << r.id;
        EXPECT_EQ(loadStr(r.id, 500), expected) << "id " << r.id;
        EXPECT_EQ(StringTable::instance().text(r.id + 500), expected) << "id " << r.id;
    }
}

TEST(StringTableResource, ExplicitOffsetIgnoresCurrentLanguage)
{
    LangBaseGuard english(500);
    EXPECT_EQ(loadStr(1, 0), QString::fromUtf8("&Výběr"));
    EXPECT_EQ(loadStr(1), QStringLiteral("&Search"));
}

TEST(StringTableResource, EnglishIsCompleteWhereTheSwitchIsOffered)
{
    // Every Czech text has an English row, and one that differs unless it
    // is a name (products, portals, the maker) or a word both languages share.
    const QSet<QString> shared = {"PE No.", "Logo", "Fax", "Internet", "mm", "Tip", "ARES"};
    const StringTable& t = StringTable::instance();
    for (int id = 1; id <= 499; ++id) {
        if (!t.contains(id))
            continue;
        ASSERT_TRUE(t.contains(id + 500)) << "id " << id;
        const QString cz = t.text(id);
        if (cz != t.text(id + 500))
            continue;
        const bool name = (id >= 177 && id <= 180) || id == 183 || (id >= 187 && id <= 192) ||
                          (id >= 227 && id <= 229);
        EXPECT_TRUE(name || shared.contains(cz)) << "id " << id << " " << cz.toStdString();
    }
    EXPECT_EQ(loadStr(231, 500), QStringLiteral(" profiles of all selected companies"));
    EXPECT_FALSE(t.text(723).contains(QStringLiteral("intenetu")));
}

TEST(StringTableResource, MissingRowsAreEmpty)
{
    for (int row : {0, -1, 300, 500, 800, 1000, 1245})
        EXPECT_TRUE(StringTable::instance().text(row).isEmpty()) << "row " << row;
    LangBaseGuard czech(0);
    EXPECT_TRUE(loadStr(1000).isEmpty());
    EXPECT_TRUE(loadStr(300, 500).isEmpty());
}

TEST(StringTableResource, SignificantSpacesAndLineBreaksSurvive)
{
    EXPECT_EQ(loadStr(185, 0), QString::fromUtf8("Ukončit  "));
    EXPECT_EQ(loadStr(185, 500), QStringLiteral("Exit   "));
    EXPECT_EQ(loadStr(185, 0) + QStringLiteral("Kvelta 2001"),
              QString::fromUtf8("Ukončit  Kvelta 2001"));
    EXPECT_EQ(loadStr(218, 0).count(QStringLiteral("\r\n")), 1);
    EXPECT_TRUE(loadStr(218, 500).contains(QStringLiteral(".\r\nLimit")));
    // The maker's imprint prints on two lines.
    EXPECT_EQ(loadStr(217, 0).count(QStringLiteral("\r\n")), 1);
    EXPECT_TRUE(loadStr(217, 0).contains(QStringLiteral("Lumora")));
}

TEST(StringTableResource, PlaceholdersTakeAFileName)
{
    for (int id : {164, 165, 664, 665}) {
        const QString t = StringTable::instance().text(id);
        ASSERT_EQ(t.count(QStringLiteral("%s")), 1) << "row " << id;
        EXPECT_TRUE(QString(t)
                        .replace(QStringLiteral("%s"), QStringLiteral("C:\\a.kl"))
                        .contains(QStringLiteral("C:\\a.kl")));
    }
}

TEST(StringTableResource, TextsTheProgramFillsItself)
{
    // Maker's name and address, portal names and imprint: no window may
    // show an empty caption for them in either language.
    for (int id : {177, 178, 179, 180, 217, 227, 228, 229}) {
        EXPECT_FALSE(loadStr(id, 0).isEmpty()) << "id " << id;
        EXPECT_FALSE(loadStr(id, 500).isEmpty()) << "id " << id;
    }
    EXPECT_NE(loadStr(227, 0), loadStr(228, 0));
    EXPECT_NE(loadStr(228, 0), loadStr(229, 0));
}

TEST(StringTableResource, EveryEnglishRowHasItsCzechRow)
{
    const StringTable& t = StringTable::instance();
    int english = 0;
    for (int id = 1; id <= 499; ++id) {
        if (!t.contains(id + 500))
            continue;
        ++english;
        EXPECT_TRUE(t.contains(id)) << "id " << id;
    }
    EXPECT_GE(english, 150);
    // Czech ids run 1-499 and English rows 501-999: any other row would be
    // unreachable.
    for (int row : {0, 500})
        EXPECT_FALSE(t.contains(row)) << "row " << row;
    for (int row = 1000; row <= 1500; ++row)
        EXPECT_FALSE(t.contains(row)) << "row " << row;
}

TEST(StringTableParse, ReadsEscapesAndKeepsSpaces)
{
    const StringTable t(QByteArray("1\tA\\r\\nB\n"
                                   "2\t  two  \n"
                                   "3\tx\\ty\\\\z\n"
                                   "4\t\n"));
    EXPECT_EQ(t.text(1), QStringLiteral("A\r\nB"));
    EXPECT_EQ(t.text(2), QStringLiteral("  two  "));
    EXPECT_EQ(t.text(3), QStringLiteral("x\ty\\z"));
    EXPECT_TRUE(t.contains(4));
    EXPECT_TRUE(t.text(4).isEmpty());
    EXPECT_EQ(t.size(), 4);
}

TEST(StringTableParse, SkipsMalformedRows)
{
    const StringTable t(QByteArray("no tab here\n"
                                   "x1\tletters in the id\n"
                                   "-5\tnegative id\n"
                                   "\tno id\n"
                                   "7\tdangling \\\n"
                                   "8\tunknown \\q escape\n"
                                   "# 9\tcomment\n"
                                   "\n"
                                   "10\tgood\n"));
    EXPECT_EQ(t.size(), 1);
    EXPECT_EQ(t.text(10), QStringLiteral("good"));
    EXPECT_TRUE(t.text(7).isEmpty());
    EXPECT_TRUE(t.text(8).isEmpty());
    EXPECT_TRUE(t.text(9).isEmpty());
}

TEST(StringTableParse, WindowsLineEndingsBomAndDuplicates)
{
    const StringTable t(QByteArray("\xEF\xBB\xBF"
                                   "1\tfirst  \r\n"
                                   "1\tsecond\r\n"
                                   "2\tČeský text\r\n"
                                   "3\tlast line without end"));
    EXPECT_EQ(t.text(1), QStringLiteral("first  "));
    EXPECT_EQ(t.text(2), QString::fromUtf8("Český text"));
    EXPECT_EQ(t.text(3), QStringLiteral("last line without end"));
    EXPECT_EQ(t.size(), 3);
}

TEST(StringTableParse, EmptyInputGivesEmptyTable)
{
    const StringTable t{QByteArray()};
    EXPECT_EQ(t.size(), 0);
    EXPECT_TRUE(t.text(1).isEmpty());
}

} // namespace
