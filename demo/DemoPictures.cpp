#include "demo/DemoPictures.h"

#include "core/Error.h"
#include "core/SafeFileWriter.h"
#include "demo/JpegEncoder.h"

#include <QBuffer>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>

namespace kv
{

namespace
{

QColor colourOf(int peno, int salt)
{
    std::uint64_t z = static_cast<std::uint64_t>(peno) * 0x9E3779B97F4A7C15ULL + salt;
    z = (z ^ (z >> 31)) * 0xBF58476D1CE4E5B9ULL;
    z ^= z >> 29;
    return QColor::fromHsv(static_cast<int>(z % 360), 150 + static_cast<int>((z >> 9) % 80),
                           110 + static_cast<int>((z >> 17) % 80));
}

QFont font(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// Legal forms are not part of a firm's initials.
QString initials(const QString& name)
{
    QString out;
    const QString main = name.section(u',', 0, 0);
    for (const QString& w : main.split(u' ', Qt::SkipEmptyParts)) {
        if (w.at(0).isLetter() && w != QLatin1String("a") && w != QLatin1String("&"))
            out += w.at(0).toUpper();
        if (out.size() == 3)
            break;
    }
    return out.isEmpty() ? QStringLiteral("K") : out;
}

struct Page {
    const char* file;
    const char* titleCs;
    const char* titleEn;
    const char* textCs;
    const char* textEn;
    int height;
};

const Page kPages[] = {
    {"LUM", "Lumora s.r.o.", "Lumora s.r.o.",
     "Jsme jihlavská firma, která od roku 1991 sestavuje a vydává adresáře českých firem. "
     "Naše databáze pokrývají celou Českou republiku a pravidelně je aktualizujeme.",
     "A company from Jihlava compiling and publishing directories of Czech firms since 1991. "
     "Our databases cover the whole Czech Republic and are updated regularly.",
     700},
    {"KV", "Kvelta 2001", "Kvelta 2001",
     "Adresář firem s výběrem podle názvu, ulice, místa, okresu, IČO, oborového zatřídění a "
     "klíčových slov. Tisk seznamů, profilů a adresních štítků, export do textového souboru.",
     "A directory of firms with selection by name, street, town, district, company number, "
     "industry and keywords. Printing of lists, profiles and address labels, text export.",
     900},
    {"VE", "Velund", "Velund",
     "Katalog výrobců a dodavatelů stavebních materiálů s technickými listy a ceníky.",
     "A catalogue of makers and suppliers of building materials with data sheets and prices.", 500},
    {"PE", "Pelorin", "Pelorin",
     "Databáze členů profesních sdružení a komor s přehledem jejich činností.",
     "A database of members of professional associations and chambers and their activities.", 600},
    {"TA", "Tamsik", "Tamsik",
     "Přehled veletrhů, výstav a odborných akcí v České republice na celý rok.",
     "A yearly overview of trade fairs, exhibitions and professional events in the Czech "
     "Republic.",
     500},
    {"KO", "Kontakty", "Contacts",
     "Lumora s.r.o., Kamenická 1187/24, 586 01 Jihlava\nwww.lumora-kv.cz\n"
     "e-mail: info@lumora-kv.cz",
     "Lumora s.r.o., Kamenická 1187/24, 586 01 Jihlava, Czech Republic\nwww.lumora-kv.cz\n"
     "e-mail: info@lumora-kv.cz",
     500},
};

} // namespace

DemoFirm DemoPictures::shownParts(const DemoFirm& firm)
{
    DemoFirm shown;
    shown.peno = firm.peno;
    shown.nazev = firm.nazev;
    shown.ulice = firm.ulice;
    shown.tel = firm.tel;
    shown.www = firm.www;
    if (!firm.industries.empty()) {
        shown.industries.emplace_back();
        shown.industries.back().txt = firm.industries.front().txt;
    }
    return shown;
}

QImage DemoPictures::logo(const DemoFirm& firm)
{
    const QString text = initials(firm.nazev);
    QImage img(60 + 30 * static_cast<int>(text.size()), 60, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colourOf(firm.peno, 1));
    p.drawRoundedRect(QRectF(4, 4, img.width() - 8, 52), 10, 10);
    p.setPen(Qt::white);
    p.setFont(font(30, true));
    p.drawText(img.rect(), Qt::AlignCenter, text);
    return img;
}

QImage DemoPictures::advertisement(const DemoFirm& firm, const QString& town, int number)
{
    static const QSize sizes[] = {{480, 160}, {400, 300}, {300, 420}};
    const QSize size = sizes[(number - 1) % 3];
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, colourOf(firm.peno, 2 + number));
    g.setColorAt(1, colourOf(firm.peno, 2 + number).lighter(170));
    p.fillRect(img.rect(), g);
    p.setPen(Qt::white);
    p.setFont(font(size.width() / 16, true));
    const QRect inner = img.rect().adjusted(16, 12, -16, -12);
    p.drawText(inner, Qt::AlignTop | Qt::AlignHCenter | Qt::TextWordWrap, firm.nazev);
    QStringList lines;
    if (!firm.industries.empty())
        lines << firm.industries.front().txt;
    lines << (firm.ulice.isNull() ? town : firm.ulice + QStringLiteral(", ") + town);
    if (!firm.tel.isNull())
        lines << QStringLiteral("tel.: ") + firm.tel.section(QStringLiteral(", "), 0, 0);
    if (!firm.www.isNull())
        lines << firm.www;
    p.setFont(font(13, false));
    p.drawText(inner, Qt::AlignBottom | Qt::AlignHCenter | Qt::TextWordWrap, lines.join(u'\n'));
    return img;
}

QImage DemoPictures::presentationPage(int page, bool english)
{
    const Page& pg = kPages[page];
    // 600 wide: the presentation window's picture area minus its scroll bar.
    QImage img(600, pg.height, QImage::Format_RGB32);
    img.fill(QColor(250, 250, 246));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 0, 600, 90), QColor(0, 0, 128));
    p.setPen(Qt::white);
    p.setFont(font(36, true));
    p.drawText(QRect(24, 0, 560, 90), Qt::AlignVCenter | Qt::AlignLeft,
               QString::fromUtf8(english ? pg.titleEn : pg.titleCs));
    p.setPen(QColor(30, 30, 30));
    p.setFont(font(18, false));
    p.drawText(QRect(24, 120, 552, pg.height - 200), Qt::AlignTop | Qt::TextWordWrap,
               QString::fromUtf8(english ? pg.textEn : pg.textCs));
    p.setPen(QColor(0, 0, 128));
    p.drawLine(24, pg.height - 50, 576, pg.height - 50);
    p.setFont(font(14, false));
    p.drawText(QRect(24, pg.height - 45, 552, 40), Qt::AlignVCenter | Qt::AlignRight,
               QStringLiteral("www.lumora-kv.cz"));
    return img;
}

QStringList DemoPictures::presentationFiles()
{
    QStringList files;
    for (const char* suffix : {"_C.JPG", "_E.JPG"})
        for (const Page& pg : kPages)
            files << QString::fromLatin1(pg.file) + QString::fromLatin1(suffix);
    return files;
}

bool DemoPictures::save(const QImage& image, const QString& path, const char* format,
                        QString* error)
{
    // Encoded in memory, then written through the safe writer, so that an
    // interrupted or failed run leaves no half picture. Not synced one by
    // one (tens of thousands of small pictures would take many minutes):
    // the generator syncs the whole file system once at its end.
    QByteArray encoded;
    if (qstrcmp(format, "JPG") == 0) {
        encoded = JpegEncoder::encode(image, 85);
        if (encoded.isEmpty()) {
            *error = QStringLiteral("Cannot write %1: the picture cannot be encoded").arg(path);
            return false;
        }
    } else {
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format);
        QImage picture = image;
        if (qstrcmp(format, "PNG") == 0) {
            // A logo has two colours and their blends: as a palette it is
            // stored exactly, in a third of the bytes and a third of the
            // time, and the fastest zlib level (quality 80) costs few bytes
            // more.
            picture = image.convertToFormat(QImage::Format_Indexed8,
                                            Qt::ThresholdDither | Qt::AvoidDither);
            writer.setQuality(80);
        }
        if (!writer.write(picture)) {
            *error = QStringLiteral("Cannot write %1: %2").arg(path, writer.errorString());
            return false;
        }
    }
    SafeFileWriter::Options options;
    options.sync = false;
    try {
        SafeFileWriter::write(path, encoded, options);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        *error = QStringLiteral("Cannot write %1").arg(e.message());
        return false;
    }
    return true;
}

} // namespace kv
