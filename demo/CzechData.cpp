#include "demo/CzechData.h"

#include <QFile>
#include <QHash>

namespace kv
{

namespace
{

// Tab-separated list with a header line, UTF-8.
bool readTable(const QString& name, int columns, std::vector<QStringList>* rows, QString* error)
{
    QFile f(QStringLiteral(":/demo/") + name);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("built-in list %1 is missing").arg(name);
        return false;
    }
    const QString text = QString::fromUtf8(f.readAll());
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QStringList cells = lines[i].split(u'\t');
        if (cells.size() != columns) {
            *error = QStringLiteral("built-in list %1, line %2 is malformed").arg(name).arg(i + 1);
            return false;
        }
        rows->push_back(std::move(cells));
    }
    if (rows->empty()) {
        *error = QStringLiteral("built-in list %1 is empty").arg(name);
        return false;
    }
    return true;
}

// Fixed-line area prefixes by region (NUTS 3).
QString phonePrefix(const QString& region)
{
    static const QHash<QString, QString> prefixes = {
        {"CZ010", "2"},  {"CZ020", "32"}, {"CZ031", "38"}, {"CZ032", "37"}, {"CZ041", "35"},
        {"CZ042", "47"}, {"CZ051", "48"}, {"CZ052", "49"}, {"CZ053", "46"}, {"CZ063", "56"},
        {"CZ064", "54"}, {"CZ071", "58"}, {"CZ072", "57"}, {"CZ080", "59"}};
    return prefixes.value(region, QStringLiteral("3"));
}

QString asciiUpper(const QString& s)
{
    QString out;
    for (const QChar c : s.normalized(QString::NormalizationForm_D))
        if (c.unicode() < 128 && c.isLetter())
            out += c.toUpper();
    return out;
}

// Share of firms per CZ-NACE section, in per mille (trade and building first).
int sectionWeight(char section)
{
    static const int weights[] = {50, 5,  160, 10, 15, 140, 220, 50, 70, 40, 20,
                                  40, 90, 40,  5,  15, 30,  20,  40, 1,  1};
    return (section >= 'A' && section <= 'U') ? weights[section - 'A'] : 0;
}

} // namespace

bool CzechData::load(QString* error)
{
    std::vector<QStringList> rows;
    if (!readTable(QStringLiteral("okresy.tsv"), 4, &rows, error))
        return false;
    QHash<QString, int> districtByCode;
    QHash<QString, QString> usedSpz;
    for (const QStringList& r : rows) {
        District d;
        d.name = r[1];
        d.phonePrefix = phonePrefix(r[2]);
        // Region letter plus the first letter of the district name that is
        // still free within the region; the alphabet is the fallback.
        const QString letters = asciiUpper(d.name) + QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        for (const QChar c : letters) {
            const QString spz = r[3].left(1) + c;
            if (!usedSpz.contains(spz)) {
                usedSpz.insert(spz, d.name);
                d.spz = spz;
                break;
            }
        }
        districtByCode.insert(r[0], static_cast<int>(m_districts.size()));
        m_districts.push_back(d);
    }

    rows.clear();
    if (!readTable(QStringLiteral("obce.tsv"), 5, &rows, error))
        return false;
    for (const QStringList& r : rows) {
        const auto d = districtByCode.constFind(r[2]);
        if (d == districtByCode.constEnd())
            continue;
        Town t;
        t.name = r[1];
        t.district = *d;
        t.population = r[3].toInt();
        t.postcodes = r[4].split(u' ', Qt::SkipEmptyParts);
        m_townPicker.add(static_cast<std::uint64_t>(std::max(t.population, 1)));
        m_towns.push_back(std::move(t));
    }

    rows.clear();
    if (!readTable(QStringLiteral("nace.tsv"), 3, &rows, error))
        return false;
    m_bySection.assign(21, {});
    for (const QStringList& r : rows) {
        Industry ind;
        ind.code = QString(r[0]).remove(u'.').toInt();
        ind.section = static_cast<char>(r[1].at(0).toLatin1());
        ind.name = r[2];
        if (ind.section < 'A' || ind.section > 'U' || ind.name.isEmpty() || ind.code <= 0)
            continue;
        m_bySection[ind.section - 'A'].push_back(static_cast<int>(m_industries.size()));
        m_industries.push_back(std::move(ind));
    }
    for (int s = 0; s < 21; ++s)
        m_sectionPicker.add(m_bySection[s].empty() ? 0 : sectionWeight(static_cast<char>('A' + s)));

    rows.clear();
    if (!readTable(QStringLiteral("jmena.tsv"), 3, &rows, error))
        return false;
    for (const QStringList& r : rows) {
        const int g = r[2] == QLatin1String("F") ? 1 : 0;
        m_firstNames[g].push_back(r[0]);
        m_firstNamePicker[g].add(r[1].toULongLong());
    }

    rows.clear();
    if (!readTable(QStringLiteral("prijmeni.tsv"), 3, &rows, error))
        return false;
    for (const QStringList& r : rows) {
        // X marks forms shared by men and women (Dolejší, Janů).
        for (int g = 0; g < 2; ++g) {
            if (r[2] == QLatin1String("X") || (r[2] == QLatin1String("F")) == (g == 1)) {
                m_surnames[g].push_back(r[0]);
                m_surnamePicker[g].add(r[1].toULongLong());
            }
        }
    }

    rows.clear();
    if (!readTable(QStringLiteral("ulice.tsv"), 2, &rows, error))
        return false;
    for (const QStringList& r : rows) {
        m_streets << r[0];
        m_streetPicker.add(r[1].toULongLong());
    }

    if (m_towns.empty() || m_industries.empty() || m_firstNames[0].empty() ||
        m_firstNames[1].empty() || m_surnames[0].empty() || m_surnames[1].empty()) {
        *error = QStringLiteral("built-in name lists are incomplete");
        return false;
    }
    return true;
}

const CzechData::Town& CzechData::pickTown(DemoRandom& rng) const
{
    return m_towns[m_townPicker.pick(rng)];
}

QString CzechData::pickStreet(DemoRandom& rng) const
{
    return m_streets[m_streetPicker.pick(rng)];
}

QString CzechData::pickFirstName(DemoRandom& rng, bool female) const
{
    const int g = female ? 1 : 0;
    return m_firstNames[g][m_firstNamePicker[g].pick(rng)];
}

QString CzechData::pickSurname(DemoRandom& rng, bool female) const
{
    const int g = female ? 1 : 0;
    return m_surnames[g][m_surnamePicker[g].pick(rng)];
}

const CzechData::Industry& CzechData::pickIndustry(DemoRandom& rng) const
{
    const std::vector<int>& in = m_bySection[m_sectionPicker.pick(rng)];
    return m_industries[in[rng.below(in.size())]];
}

const CzechData::Industry& CzechData::pickRelatedIndustry(DemoRandom& rng, const Industry& to) const
{
    const std::vector<int>& in = m_bySection[to.section - 'A'];
    std::vector<int> same;
    for (const int i : in)
        if (m_industries[i].code / 100 == to.code / 100 && m_industries[i].code != to.code)
            same.push_back(i);
    if (same.empty())
        return m_industries[in[rng.below(in.size())]];
    return m_industries[same[rng.below(same.size())]];
}

} // namespace kv
