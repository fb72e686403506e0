#include "domain/LabelTemplates.h"

#include <QCollator>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

namespace kv
{

namespace
{
constexpr double Tolerance = 1e-6;

QString mm(double v)
{
    return QString::number(v, 'g', 4);
}

QString whole(double v)
{
    return QString::number(qMax<long long>(0, std::llround(v)));
}
} // namespace

QString LabelTemplates::Sheet::title() const
{
    QString t = brand + QLatin1Char(' ') + part;
    if (!description.isEmpty())
        t += QStringLiteral("  ") + description;
    return t + QStringLiteral("  %1 x %2 mm, %3 x %4")
                   .arg(mm(width), mm(height), QString::number(nx), QString::number(ny));
}

LabelGeometry::Fields LabelTemplates::Sheet::fields() const
{
    const double right = PageWidth - x0 - (nx - 1) * dx - width;
    const double bottom = PageHeight - y0 - (ny - 1) * dy - height;
    return {whole(x0),           whole(y0),           whole(right),      whole(bottom),
            QString::number(nx), QString::number(ny), whole(dx - width), whole(dy - height)};
}

bool LabelTemplates::Sheet::fits() const
{
    if (nx < 1 || ny < 1 || width <= 0 || height <= 0 || x0 < 0 || y0 < 0)
        return false;
    if ((nx > 1 && dx + Tolerance < width) || (ny > 1 && dy + Tolerance < height))
        return false;
    return x0 + (nx - 1) * dx + width <= PageWidth + Tolerance &&
           y0 + (ny - 1) * dy + height <= PageHeight + Tolerance;
}

double LabelTemplates::toMm(const QString& length, bool* ok)
{
    static const std::pair<const char*, double> units[] = {
        {"mm", 1.0}, {"cm", 10.0}, {"in", 25.4}, {"pt", 25.4 / 72}};
    QString text = length.trimmed();
    double factor = 25.4 / 72; // a bare number is in points
    for (const auto& [unit, f] : units) {
        if (text.endsWith(QLatin1String(unit))) {
            text.chop(2);
            factor = f;
            break;
        }
    }
    bool good = false;
    const double v = text.trimmed().toDouble(&good);
    if (ok)
        *ok = good && std::isfinite(v);
    return good ? v * factor : 0;
}

QList<LabelTemplates::Sheet> LabelTemplates::parse(QIODevice& device)
{
    struct Entry {
        Sheet sheet;
        QString equiv;
        bool valid = false; // one rectangle with one layout, every number read
        int layouts = 0;
    };
    QList<Entry> entries;
    QXmlStreamReader xml(&device);
    Entry* current = nullptr;
    bool inRectangle = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("Template"))
            current = nullptr;
        if (xml.isEndElement() && xml.name() == QLatin1String("Label-rectangle"))
            inRectangle = false;
        if (!xml.isStartElement())
            continue;
        const auto a = xml.attributes();
        const auto name = xml.name();
        if (name == QLatin1String("Template")) {
            entries.append(Entry{});
            current = &entries.last();
            current->sheet.brand = a.value("brand").toString();
            current->sheet.part = a.value("part").toString();
            current->sheet.description = a.value("_description").toString();
            current->equiv = a.value("equiv").toString();
            // Only A4 sheets: the program prints on A4 alone.
            current->valid = a.value("size") == QLatin1String("A4");
        } else if (current && name == QLatin1String("Label-rectangle")) {
            bool okW = false, okH = false;
            current->sheet.width = toMm(a.value("width").toString(), &okW);
            current->sheet.height = toMm(a.value("height").toString(), &okH);
            current->valid = current->valid && okW && okH;
            inRectangle = true;
        } else if (current && name.startsWith(QLatin1String("Label-"))) {
            current->valid = false; // round, elliptic and CD labels
        } else if (current && inRectangle && name == QLatin1String("Layout")) {
            Sheet& s = current->sheet;
            bool ok[4] = {};
            s.nx = a.value("nx").toInt();
            s.ny = a.value("ny").toInt();
            s.x0 = toMm(a.value("x0").toString(), &ok[0]);
            s.y0 = toMm(a.value("y0").toString(), &ok[1]);
            s.dx = toMm(a.value("dx").toString(), &ok[2]);
            s.dy = toMm(a.value("dy").toString(), &ok[3]);
            current->valid = current->valid && ok[0] && ok[1] && ok[2] && ok[3];
            ++current->layouts;
        }
    }
    QHash<QString, const Entry*> byPart;
    for (const Entry& e : entries)
        if (e.equiv.isEmpty())
            byPart.insert(e.sheet.brand + QLatin1Char('\n') + e.sheet.part, &e);
    QList<Sheet> out;
    for (const Entry& e : entries) {
        const Entry* base = &e;
        if (!e.equiv.isEmpty())
            base = byPart.value(e.sheet.brand + QLatin1Char('\n') + e.equiv, nullptr);
        if (!base || !base->valid || base->layouts != 1 || !base->sheet.fits())
            continue;
        Sheet s = base->sheet;
        s.part = e.sheet.part;
        out.append(s);
    }
    return out;
}

const QList<LabelTemplates::Sheet>& LabelTemplates::builtIn()
{
    static const QList<Sheet> sheets = [] {
        QList<Sheet> all;
        for (const char* file :
             {":/labels/avery-iso-templates.xml", ":/labels/herma-iso-templates.xml",
              ":/labels/zweckform-iso-templates.xml"}) {
            QFile f{QString::fromLatin1(file)};
            if (f.open(QIODevice::ReadOnly))
                all += parse(f);
        }
        QCollator collator;
        collator.setNumericMode(true);
        std::stable_sort(all.begin(), all.end(), [&](const Sheet& a, const Sheet& b) {
            if (a.brand != b.brand)
                return collator.compare(a.brand, b.brand) < 0;
            return collator.compare(a.part, b.part) < 0;
        });
        return all;
    }();
    return sheets;
}

} // namespace kv
