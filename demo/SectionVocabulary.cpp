#include "demo/SectionVocabulary.h"

#include <array>

namespace kv
{

namespace
{

struct Vocabulary {
    QStringList names, brands, activities;
};

const std::array<Vocabulary, 21>& table()
{
    static const std::array<Vocabulary, 21> t = {{
        // A
        {{"Farma", "Statek", "Zemědělská společnost", "Rybářství", "Lesní správa", "Zahradnictví"},
         {"AGRO", "ZEMAGRO", "LES"},
         {"pěstování obilovin a řepky", "chov skotu a prasat", "prodej brambor ze dvora",
          "lesnické práce a těžba dřeva", "produkce mléka", "sadovnictví a prodej ovoce",
          "chov ryb a výlovy rybníků", "zemědělské služby a agrotechnika"}},
        // B
        {{"Kamenolom", "Pískovna", "Těžba"},
         {"KAMEN", "GEO"},
         {"těžba a úprava kameniva", "prodej písku a štěrku", "drcené kamenivo frakce 0-32",
          "vrtné a geologické práce", "lomový kámen pro stavby"}},
        // C
        {{"Strojírny", "Kovovýroba", "Truhlářství", "Tiskárna", "Pekárna", "Řeznictví", "Sklárna",
          "Slévárna", "Nábytek", "Elektro"},
         {"KOVO", "STROJ", "METAL", "PLAST", "DŘEVO", "TEXTIL", "ELEKTRO"},
         {"zakázková kovovýroba a svařování", "CNC obrábění a soustružení",
          "výroba nábytku na míru", "kuchyňské linky a vestavěné skříně",
          "ofsetový a digitální tisk", "pekařské a cukrářské výrobky", "uzeniny a masné výrobky",
          "výroba plastových oken a dveří", "lisování plastů a výroba forem",
          "výroba ocelových konstrukcí", "šití pracovních oděvů", "práškové lakování kovů",
          "výroba elektrických rozvaděčů"}},
        // D
        {{"Teplárna", "Energie", "Elektrárna"},
         {"ENERGO", "SOLAR", "TERMO"},
         {"výroba a rozvod tepla", "provoz fotovoltaických elektráren", "dodávky elektřiny a plynu",
          "kogenerační jednotky"}},
        // E
        {{"Vodárny", "Odpady", "Sběrný dvůr", "Recyklace"},
         {"EKO", "AQUA", "RECYKL"},
         {"svoz a likvidace odpadů", "výkup druhotných surovin", "čištění odpadních vod",
          "pronájem kontejnerů", "recyklace stavební suti"}},
        // F
        {{"Stavební firma", "Stavby", "Stavitelství", "Pozemní stavby", "Instalatérství",
          "Pokrývačství", "Klempířství", "Elektroinstalace"},
         {"STAVO", "STAV", "MONT", "INSTAL"},
         {"novostavby rodinných domů na klíč", "rekonstrukce bytových jader",
          "zednické a obkladačské práce", "zateplení fasád", "pokrývačské a klempířské práce",
          "výkopové a zemní práce", "sádrokartonové konstrukce", "rozvody vody, plynu a topení",
          "elektroinstalace a revize", "pokládka zámkové dlažby", "izolace spodních staveb"}},
        // G
        {{"Obchod", "Velkoobchod", "Autoservis", "Prodejna", "Potraviny", "Drogerie", "Stavebniny",
          "Železářství"},
         {"TRADE", "OBCHOD", "AUTO", "MARKET"},
         {"velkoobchod a maloobchod", "prodej stavebního materiálu", "prodej potravin a nápojů",
          "servis a opravy osobních automobilů", "pneuservis a geometrie", "prodej náhradních dílů",
          "prodej drogerie a kosmetiky", "prodej železářského zboží a nářadí",
          "dovoz a distribuce zboží", "internetový obchod s rozvozem",
          "prodej kancelářských potřeb"}},
        // H
        {{"Autodoprava", "Doprava", "Spedice", "Přeprava", "Taxi"},
         {"TRANS", "SPED", "CARGO"},
         {"vnitrostátní a mezinárodní kamionová doprava", "nákladní doprava do 12 t",
          "autobusová doprava a zájezdy", "stěhování bytů a firem", "skladování a logistika",
          "kurýrní služby", "taxislužba nonstop"}},
        // I
        {{"Hotel", "Restaurace", "Penzion", "Hostinec", "Kavárna", "Pizzerie"},
         {"GASTRO", "HOTEL"},
         {"ubytování a stravování", "česká kuchyně a polední menu", "pořádání svateb a oslav",
          "catering a rauty", "kongresové prostory", "wellness a sauna"}},
        // J
        {{"Software", "Informační systémy", "Nakladatelství", "Studio", "Vydavatelství"},
         {"SOFT", "DATA", "NET", "INFO", "MEDIA"},
         {"vývoj software na zakázku", "tvorba webových stránek", "správa počítačových sítí",
          "vydávání knih a časopisů", "připojení k internetu", "grafické studio a DTP",
          "informační systémy pro firmy"}},
        // K
        {{"Finance", "Investice", "Pojišťovací makléř", "Leasing", "Úvěry"},
         {"FIN", "INVEST", "CREDIT"},
         {"finanční poradenství", "pojištění majetku a osob", "leasing automobilů a strojů",
          "hypoteční úvěry", "správa investic"}},
        // L
        {{"Reality", "Realitní kancelář", "Správa nemovitostí"},
         {"REAL", "DOMO"},
         {"prodej a pronájem nemovitostí", "správa bytových domů", "pronájem kancelářských prostor",
          "odhady cen nemovitostí"}},
        // M
        {{"Projekce", "Účetní kancelář", "Advokátní kancelář", "Reklamní agentura", "Geodezie",
          "Poradenství", "Projektová kancelář"},
         {"PROJEKT", "CONSULT", "AUDIT", "GEO"},
         {"vedení účetnictví a daňové evidence", "daňové poradenství", "právní služby",
          "projektová dokumentace staveb", "geodetické práce a zaměření", "reklama a propagace",
          "technické poradenství", "audit a znalecké posudky", "překlady a tlumočení"}},
        // N
        {{"Úklidové služby", "Bezpečnostní agentura", "Personální agentura", "Půjčovna",
          "Cestovní kancelář"},
         {"SERVIS", "SECUR", "CLEAN"},
         {"úklid kanceláří a domácností", "ostraha objektů", "zprostředkování zaměstnání",
          "půjčovna stavebních strojů", "zájezdy a letenky", "údržba zeleně"}},
        // O
        {{"Správa", "Úřad"},
         {"SPRAVA"},
         {"veřejná správa", "správa a údržba komunikací", "sociální služby obce"}},
        // P
        {{"Autoškola", "Jazyková škola", "Vzdělávací centrum", "Soukromá škola"},
         {"EDU", "LINGUA"},
         {"výuka cizích jazyků", "řidičská oprávnění všech skupin", "rekvalifikační kurzy",
          "školení BOZP a PO", "doučování a příprava na přijímací zkoušky"}},
        // Q
        {{"Zubní ordinace", "Lékárna", "Poliklinika", "Rehabilitace", "Veterinární ordinace"},
         {"MEDI", "PHARM", "DENT"},
         {"praktický lékař pro dospělé", "stomatologická péče", "fyzioterapie a masáže",
          "prodej léčiv a zdravotnických potřeb", "domácí ošetřovatelská péče",
          "veterinární péče o zvířata"}},
        // R
        {{"Sportovní klub", "Fitness", "Agentura", "Divadlo", "Galerie"},
         {"SPORT", "ART"},
         {"pořádání kulturních akcí", "fitness centrum a posilovna", "provoz sportovišť",
          "hudební produkce", "výstavy a prodej obrazů"}},
        // S
        {{"Kadeřnictví", "Kosmetika", "Opravna", "Čistírna", "Pohřební služba"},
         {"SERVIS", "STYL"},
         {"kadeřnické a kosmetické služby", "opravy obuvi a oděvů", "čištění oděvů a koberců",
          "opravy domácích spotřebičů", "pohřební služby a kremace", "pedikúra a manikúra"}},
        // T
        {{"Domácnost"}, {"DOMO"}, {"hospodaření domácností", "domácí práce"}},
        // U
        {{"Zastoupení"}, {"INTER"}, {"mezinárodní organizace", "diplomatické služby"}},
    }};
    return t;
}

const Vocabulary& of(char section)
{
    const int i = (section >= 'A' && section <= 'U') ? section - 'A' : 6;
    return table()[i];
}

} // namespace

const QStringList& SectionVocabulary::nameWords(char section)
{
    return of(section).names;
}

const QStringList& SectionVocabulary::brandPrefixes(char section)
{
    return of(section).brands;
}

const QStringList& SectionVocabulary::activities(char section)
{
    return of(section).activities;
}

const QStringList& SectionVocabulary::brandSuffixes()
{
    static const QStringList s = {"SPOL", "TECH", "MONT",  "SERVIS", "PLUS",
                                  "CZ",   "COM",  "TRADE", "STAR",   "PRO"};
    return s;
}

} // namespace kv
