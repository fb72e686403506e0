#include "demo/FirmFactory.h"

#include "demo/Ico.h"
#include "demo/SectionVocabulary.h"

#include <cstdio>
#include <iterator>

namespace kv
{

namespace
{

// Lower-case ASCII letters and digits of a text (for e-mail and web names).
QString slug(const QString& text, QChar separator)
{
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.unicode() < 128 && c.isLetterOrNumber())
            out += c.toLower();
        else if (c.isSpace() && !out.isEmpty() && !separator.isNull() && !out.endsWith(separator))
            out += separator;
    }
    while (!separator.isNull() && out.endsWith(separator))
        out.chop(1);
    return out;
}

// Picks from a list of (value, weight) pairs.
template <typename T, std::size_t N>
T weighted(DemoRandom& rng, const std::pair<T, int> (&items)[N])
{
    int total = 0;
    for (const auto& i : items)
        total += i.second;
    int r = static_cast<int>(rng.below(static_cast<std::uint64_t>(total)));
    for (const auto& i : items) {
        if (r < i.second)
            return i.first;
        r -= i.second;
    }
    return items[0].first;
}

const char* const kMobilePrefixes[] = {"602", "603", "604", "605", "606", "607",
                                       "608", "721", "723", "724", "728", "731",
                                       "732", "736", "737", "739", "775", "777"};

struct Job {
    const char* male;
    const char* female;
};

const Job kJobs[] = {{"obchodní ředitel", "obchodní ředitelka"},
                     {"technický ředitel", "technická ředitelka"},
                     {"ekonom", "ekonomka"},
                     {"účetní", "účetní"},
                     {"vedoucí prodeje", "vedoucí prodeje"},
                     {"obchodní zástupce", "obchodní zástupkyně"},
                     {"vedoucí provozu", "vedoucí provozu"},
                     {"technik", "technička"},
                     {"mistr", "mistrová"},
                     {"asistent", "asistentka"},
                     {"personalista", "personalistka"},
                     {"referent nákupu", "referentka nákupu"}};

} // namespace

FirmFactory::FirmFactory(const CzechData& data, DemoRandom& rng)
    : m_data(data), m_rng(rng), m_icoUsed(10000000, false)
{
}

DemoFirm FirmFactory::make(int peno, bool showcase)
{
    DemoFirm f;
    f.peno = peno;

    const CzechData::Industry& main = m_data.pickIndustry(m_rng);
    m_section = main.section;
    f.town = static_cast<int>(&m_data.pickTown(m_rng) - m_data.towns().data());
    const CzechData::Town& town = m_data.towns()[f.town];
    const QString psc = town.postcodes[m_rng.below(town.postcodes.size())];
    f.psc = psc.left(3) + u' ' + psc.mid(3);

    if (showcase || !m_rng.chance(10)) {
        if (town.population < 800 && m_rng.chance(600)) {
            // Villages often have no streets: the address is the village and
            // the house number.
            f.street = town.name;
            f.ulice = town.name + u' ' + QString::number(m_rng.range(1, 320));
        } else {
            f.street = m_data.pickStreet(m_rng);
            QString number = QString::number(m_rng.range(1, m_rng.chance(300) ? 180 : 40));
            if (m_rng.chance(250))
                number = QString::number(m_rng.range(100, 3200)) + u'/' + number;
            else if (m_rng.chance(40))
                number += QChar(u'a' + m_rng.range(0, 2));
            f.ulice = f.street + u' ' + number;
        }
    }

    if (showcase || !m_rng.chance(20)) {
        int body;
        do {
            body = m_rng.range(100000, 9999999);
        } while (m_icoUsed[body]);
        m_icoUsed[body] = true;
        f.ico = Ico::fromBody(body);
    }

    DemoPerson owner;
    m_joint = false;
    f.nazev = makeName(main, town, &owner);
    addContacts(&f, town, showcase);
    addPersons(&f, owner, showcase);
    addIndustries(&f, main, showcase);

    if (showcase || m_rng.chance(50))
        f.placena = QStringLiteral("A");
    if (showcase || m_rng.chance(40))
        f.logo = QStringLiteral("L%1.PNG").arg(peno);
    if (showcase || m_rng.chance(25)) {
        const int n = showcase ? 2 : weighted<int>(m_rng, {{1, 60}, {2, 30}, {3, 10}});
        for (int i = 1; i <= n; ++i)
            f.ads << QStringLiteral("R%1_%2.JPG").arg(peno).arg(i);
        f.reklama = QStringLiteral("A");
    }
    return f;
}

QString FirmFactory::legalForm()
{
    static const std::pair<const char*, int> forms[] = {
        {"s.r.o.", 50}, {"spol. s r.o.", 14}, {"a.s.", 14}, {"v.o.s.", 6}, {"k.s.", 2}};
    const char* form = weighted(m_rng, forms);
    m_joint = qstrcmp(form, "a.s.") == 0;
    return QString::fromUtf8(form);
}

QString FirmFactory::makeName(const CzechData::Industry& main, const CzechData::Town& town,
                              DemoPerson* owner)
{
    const QStringList& words = SectionVocabulary::nameWords(main.section);
    const QString word = words[m_rng.below(words.size())];
    const int kind = weighted<int>(m_rng, {{0, 20}, {1, 14}, {2, 20}, {3, 16}, {4, 30}});
    m_domain.clear();
    QString name, distinctive;
    switch (kind) {
    case 0: { // sole trader under the owner's own name
        const bool female = m_rng.chance(250);
        const QString first = m_data.pickFirstName(m_rng, female);
        const QString last = m_data.pickSurname(m_rng, female);
        name = first + u' ' + last;
        distinctive = last + u' ' + first;
        if (m_rng.chance(500))
            name += QStringLiteral(" - ") + word;
        owner->osoba = first + u' ' + last +
                       (female ? QStringLiteral(", majitelka") : QStringLiteral(", majitel"));
        break;
    }
    case 1: { // family firm
        const QString last = m_data.pickSurname(m_rng, false);
        distinctive = last;
        const int form = m_rng.range(0, 3);
        if (form == 0)
            name = last + QStringLiteral(" a syn, ") + legalForm();
        else if (form == 1)
            name = last + QStringLiteral(" a synové, ") + legalForm();
        else if (form == 2)
            name = last + QStringLiteral(" a spol., s.r.o.");
        else {
            const QString other = m_data.pickSurname(m_rng, false);
            name = last + QStringLiteral(" & ") + other + QStringLiteral(", v.o.s.");
            distinctive = last + u' ' + other;
        }
        break;
    }
    case 2: { // industry word and surname
        const QString last = m_data.pickSurname(m_rng, false);
        name = word + u' ' + last;
        distinctive = word.section(u' ', 0, 0) + u' ' + last;
        if (m_rng.chance(600))
            name += QStringLiteral(", ") + legalForm();
        break;
    }
    case 3: // industry word and town
        name = word + u' ' + town.name + QStringLiteral(", ") + legalForm();
        distinctive = word.section(u' ', 0, 0) + u' ' + town.name;
        break;
    default: { // brand
        const QStringList& prefixes = SectionVocabulary::brandPrefixes(main.section);
        const QStringList& suffixes = SectionVocabulary::brandSuffixes();
        QString brand = prefixes[m_rng.below(prefixes.size())];
        QString suffix = suffixes[m_rng.below(suffixes.size())];
        if (brand == suffix)
            suffix = QStringLiteral("PLUS");
        brand += suffix;
        distinctive = brand;
        if (m_rng.chance(300)) {
            brand += u' ' + town.name;
            distinctive = brand;
        }
        name = brand + QStringLiteral(", ") + legalForm();
        break;
    }
    }
    m_domain = slug(distinctive, QChar(u'-')).left(30);
    while (m_domain.endsWith(u'-'))
        m_domain.chop(1);
    return name;
}

// Phone numbers are written into a buffer: a large home makes millions.
QString FirmFactory::fixedLine(const CzechData::Town& town)
{
    const QString& prefix = m_data.districts()[town.district].phonePrefix;
    char digits[9];
    int n = 0;
    for (; n < 9 && n < prefix.size(); ++n)
        digits[n] = char(prefix[n].unicode());
    for (; n < 9; ++n)
        digits[n] = char('0' + m_rng.range(n == 3 ? 1 : 0, 9));
    char text[17];
    std::snprintf(text, sizeof text, "+420 %.3s %.3s %.3s", digits, digits + 3, digits + 6);
    return QString::fromLatin1(text);
}

QString FirmFactory::mobile()
{
    const char* prefix = kMobilePrefixes[m_rng.below(std::size(kMobilePrefixes))];
    const int middle = m_rng.range(100, 999);
    const int last = m_rng.range(0, 999);
    char text[24];
    std::snprintf(text, sizeof text, "+420 %s %d %03d", prefix, middle, last);
    return QString::fromLatin1(text);
}

QString FirmFactory::nameSlug(const QString& name)
{
    auto it = m_nameSlugs.constFind(name);
    if (it == m_nameSlugs.constEnd())
        it = m_nameSlugs.insert(name, slug(name, QChar()));
    return *it;
}

void FirmFactory::addContacts(DemoFirm* f, const CzechData::Town& town, bool showcase)
{
    if (showcase || m_rng.chance(920)) {
        QStringList numbers{m_rng.chance(850) ? fixedLine(town) : mobile()};
        const int more = weighted<int>(m_rng, {{0, 60}, {1, 30}, {2, 10}});
        for (int i = 0; i < more; ++i)
            numbers << (m_rng.chance(500) ? fixedLine(town) : mobile());
        f->tel = numbers.join(QStringLiteral(", "));
    }
    if (showcase || m_rng.chance(350))
        f->fax = fixedLine(town);

    bool ownDomain = false;
    if (showcase || m_rng.chance(600)) {
        if (showcase || m_rng.chance(750)) {
            static const char* const boxes[] = {"info",     "info",  "info",    "obchod",
                                                "kancelar", "firma", "poptavky"};
            f->email = QString::fromLatin1(boxes[m_rng.below(7)]) + u'@' + m_domain +
                       QStringLiteral(".cz");
            ownDomain = true;
        } else {
            static const char* const free[] = {"seznam.cz", "email.cz", "volny.cz", "centrum.cz",
                                               "post.cz"};
            f->email =
                QString(m_domain).remove(u'-') + u'@' + QString::fromLatin1(free[m_rng.below(5)]);
        }
    }
    if (showcase || (ownDomain ? m_rng.chance(800) : m_rng.chance(100)))
        f->www = QStringLiteral("www.") + m_domain + QStringLiteral(".cz");
    if (!ownDomain && !showcase)
        m_domain.clear(); // persons then have no firm address of their own
    if (!f->www.isNull() && (showcase || m_rng.chance(750)))
        f->link = QStringLiteral("A");
}

QString FirmFactory::title(char section)
{
    const int r = m_rng.range(0, 999);
    if (section == 'Q' && r < 300)
        return QStringLiteral("MUDr. ");
    if (section == 'M' && r < 120)
        return QStringLiteral("JUDr. ");
    if (r < 200)
        return QStringLiteral("Ing. ");
    if (r < 250)
        return QStringLiteral("Mgr. ");
    if (r < 290)
        return QStringLiteral("Bc. ");
    if (r < 300)
        return QStringLiteral("RNDr. ");
    return {};
}

void FirmFactory::addPersons(DemoFirm* f, const DemoPerson& owner, bool showcase)
{
    int count =
        showcase
            ? 4
            : weighted<int>(m_rng, {{0, 15}, {1, 30}, {2, 22}, {3, 15}, {4, 9}, {5, 5}, {6, 4}});
    if (!owner.osoba.isNull()) {
        DemoPerson p = owner;
        p.tel = m_rng.chance(500) ? mobile() : QString();
        f->persons.push_back(p);
        --count;
    }
    for (int i = 0; i < count; ++i) {
        const bool female = m_rng.chance(350);
        const QString first = m_data.pickFirstName(m_rng, female);
        const QString last = m_data.pickSurname(m_rng, female);
        QString job;
        if (f->persons.empty()) {
            job = m_joint
                      ? (female ? QStringLiteral("předsedkyně představenstva")
                                : QStringLiteral("předseda představenstva"))
                      : (m_rng.chance(700)
                             ? (female ? QStringLiteral("jednatelka") : QStringLiteral("jednatel"))
                             : (female ? QStringLiteral("ředitelka") : QStringLiteral("ředitel")));
        } else {
            const Job& j = kJobs[m_rng.below(std::size(kJobs))];
            job = QString::fromUtf8(female ? j.female : j.male);
        }
        DemoPerson p;
        p.osoba = title(m_section) + first + u' ' + last + QStringLiteral(", ") + job;
        if (showcase || m_rng.chance(400))
            p.tel = m_rng.chance(700) ? mobile() : f->tel.section(QStringLiteral(", "), 0, 0);
        if (!f->fax.isNull() && m_rng.chance(80))
            p.fax = f->fax;
        if (!m_domain.isEmpty() && (showcase || m_rng.chance(350)))
            p.email =
                nameSlug(first) + u'.' + nameSlug(last) + u'@' + m_domain + QStringLiteral(".cz");
        if (!f->www.isNull() && m_rng.chance(30))
            p.www = f->www;
        f->persons.push_back(p);
    }
}

void FirmFactory::addIndustries(DemoFirm* f, const CzechData::Industry& main, bool showcase)
{
    const int count = showcase ? 3 : weighted<int>(m_rng, {{1, 45}, {2, 30}, {3, 15}, {4, 10}});
    std::vector<const CzechData::Industry*> chosen{&main};
    for (int tries = 0; static_cast<int>(chosen.size()) < count && tries < 8; ++tries) {
        const CzechData::Industry& next = m_rng.chance(650)
                                              ? m_data.pickRelatedIndustry(m_rng, main)
                                              : m_data.pickIndustry(m_rng);
        bool dup = false;
        for (const auto* c : chosen)
            dup = dup || c->code == next.code;
        if (!dup)
            chosen.push_back(&next);
    }
    for (const auto* ind : chosen) {
        DemoIndustryRow row;
        row.kod = ind->code;
        row.txt = ind->name;
        const QStringList& phrases = SectionVocabulary::activities(ind->section);
        const int lines = showcase ? 2 : weighted<int>(m_rng, {{0, 25}, {1, 35}, {2, 25}, {3, 15}});
        QStringList picked;
        for (int tries = 0; picked.size() < lines && tries < 10; ++tries) {
            const QString line = QStringLiteral("\t") + phrases[m_rng.below(phrases.size())];
            if (!picked.contains(line))
                picked << line;
        }
        row.lines = picked;
        f->industries.push_back(std::move(row));
    }
}

} // namespace kv
