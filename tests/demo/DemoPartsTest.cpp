// The building blocks of the demo generator whose rules are fixed from
// outside: the IČO check digit and the company numbers; the firms made on
// a thread of their own are those of the plain loop; a logo is stored
// exactly as it was drawn.
#include "demo/CzechData.h"
#include "demo/DemoPictures.h"
#include "demo/DemoRandom.h"
#include "demo/FirmFactory.h"
#include "demo/FirmStream.h"
#include "demo/Ico.h"
#include "demo/JpegEncoder.h"
#include "demo/PenoSequence.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

TEST(Ico, CheckDigitFollowsTheMod11Rule)
{
    EXPECT_EQ(kv::Ico::fromBody(694), QStringLiteral("00006947")); // sum 59, remainder 4
    EXPECT_EQ(kv::Ico::fromBody(0), QStringLiteral("00000001"));   // remainder 0 gives 1
    EXPECT_EQ(kv::Ico::fromBody(6), QStringLiteral("00000060"));   // remainder 1 gives 0
    EXPECT_TRUE(kv::Ico::isValid(QStringLiteral("00006947")));
    EXPECT_FALSE(kv::Ico::isValid(QStringLiteral("00006948")));
    EXPECT_FALSE(kv::Ico::isValid(QStringLiteral("0006947")));
    EXPECT_FALSE(kv::Ico::isValid(QStringLiteral("0000694x")));
}

// The parts of a firm the database and the pictures are made from.
QStringList firmText(const kv::DemoFirm& f)
{
    QStringList out = {QString::number(f.peno),
                       f.ico,
                       f.nazev,
                       f.ulice,
                       f.street,
                       QString::number(f.town),
                       f.psc,
                       f.tel,
                       f.fax,
                       f.email,
                       f.www,
                       f.logo,
                       f.placena,
                       f.link,
                       f.reklama};
    out << f.ads;
    for (const kv::DemoPerson& p : f.persons)
        out << p.osoba << p.tel << p.fax << p.email << p.www;
    for (const kv::DemoIndustryRow& r : f.industries)
        out << QString::number(r.kod) << r.txt << r.lines;
    return out;
}

TEST(FirmStream, HandsOutTheFirmsOfOneLoopInOrderWhateverTheBatchSize)
{
    kv::CzechData data;
    QString error;
    ASSERT_TRUE(data.load(&error)) << error.toStdString();
    const int n = 3000;
    std::vector<QStringList> direct;
    {
        kv::DemoRandom rng(7);
        kv::PenoSequence penos(n, rng);
        kv::FirmFactory factory(data, rng);
        for (int i = 0; i < n; ++i) {
            const int peno = penos.next();
            direct.push_back(firmText(factory.make(peno, peno == kv::PenoSequence::kShown)));
        }
    }
    for (const int batch : {1, 7, 512, 5000}) {
        kv::FirmStream stream(data, 7, n, batch);
        std::vector<QStringList> streamed;
        // Batches given back are freed by the making thread; every other
        // run gives them back.
        const bool giveBack = batch % 2 == 1;
        for (auto b = stream.next(); !b.empty();
             b = giveBack ? stream.next(std::move(b)) : stream.next())
            for (const kv::DemoFirm& f : b)
                streamed.push_back(firmText(f));
        EXPECT_TRUE(streamed == direct) << batch;
        EXPECT_TRUE(stream.next().empty()) << batch;
    }
    // Given up half way: the making thread stops and is joined.
    kv::FirmStream abandoned(data, 7, n, 16);
    EXPECT_EQ(abandoned.next().size(), 16u);
}

TEST(PenoSequence, AscendsWithGapsAndAlwaysHoldsTheStartFirm)
{
    for (const int n : {1, 2, 3, 10, 1000, 150000}) {
        kv::DemoRandom rng(42);
        kv::PenoSequence seq(n, rng);
        int last = 0, gaps = 0;
        bool shown = false;
        for (int i = 0; i < n; ++i) {
            const int p = seq.next();
            ASSERT_GE(p, 100000);
            ASSERT_GT(p, last);
            gaps += (last != 0 && p > last + 1);
            shown = shown || p == 200219;
            last = p;
        }
        EXPECT_TRUE(shown) << n;
        if (n >= 10) {
            EXPECT_GT(gaps, 0) << n;
        }
    }
}

TEST(DemoRandom, SameSeedSameStreamAndBelowStaysInRange)
{
    kv::DemoRandom a(5), b(5), c(6);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const auto x = a.next();
        EXPECT_EQ(x, b.next());
        differs = differs || x != c.next();
    }
    EXPECT_TRUE(differs);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_LT(a.below(7), 7u);
        const int r = a.range(-3, 3);
        EXPECT_GE(r, -3);
        EXPECT_LE(r, 3);
    }
}

} // namespace

TEST(DemoPictures, LogosAreStoredPixelForPixelAsDrawn)
{
    // Stored with a palette: a blend of the firm's colour and white that the
    // palette lost would change a pixel.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int peno = 100;
    for (const char* name : {"Novák", "Stavby Morava, s.r.o.", "Žďárská strojírna a slévárna, a.s.",
                             "ČKD Praha Holding", "4 ROOMS a spol."}) {
        kv::DemoFirm firm;
        firm.peno = ++peno;
        firm.nazev = QString::fromUtf8(name);
        const QImage drawn = kv::DemoPictures::logo(firm);
        const QString file = QDir(dir.path()).filePath(QStringLiteral("L%1.PNG").arg(peno));
        QString error;
        ASSERT_TRUE(kv::DemoPictures::save(drawn, file, "PNG", &error)) << error.toStdString();
        const QImage stored(file);
        ASSERT_FALSE(stored.isNull()) << name;
        EXPECT_EQ(stored.convertToFormat(QImage::Format_RGB32), drawn) << name;
    }
}

TEST(JpegEncoder, GivesTheBytesOfQtsWriterAndRefusesWhatJpegCannotHold)
{
    const auto qtBytes = [](const QImage& image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "JPG");
        writer.setQuality(85);
        writer.write(image);
        return bytes;
    };
    kv::DemoFirm firm;
    firm.peno = 200219;
    firm.nazev = QStringLiteral("Žďárská strojírna a slévárna, a.s.");
    firm.ulice = QStringLiteral("Jihlavská 12");
    firm.www = QStringLiteral("www.zdas.cz");
    // Every advertisement size and a page of text; odd sizes, and a picture
    // with transparency, which the encoder reads as its colours.
    QList<QImage> pictures;
    for (int n = 1; n <= 3; ++n)
        pictures << kv::DemoPictures::advertisement(firm, QStringLiteral("Žďár nad Sázavou"), n);
    pictures << kv::DemoPictures::presentationPage(1, false);
    pictures << pictures.front().copy(3, 5, 101, 37);
    pictures << pictures.front().convertToFormat(QImage::Format_ARGB32);
    for (const QImage& picture : pictures) {
        const QByteArray ours = kv::JpegEncoder::encode(picture, 85);
        ASSERT_FALSE(ours.isEmpty()) << picture.width();
        EXPECT_EQ(ours, qtBytes(picture.convertToFormat(QImage::Format_RGB32))) << picture.width();
    }
    // A palette picture is converted first.
    const QImage indexed =
        pictures.front().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    EXPECT_EQ(kv::JpegEncoder::encode(indexed, 85),
              qtBytes(indexed.convertToFormat(QImage::Format_RGB32)));

    // Wider than JPEG can say: libjpeg's error comes back as an empty result,
    // not the end of the process.
    QImage wide(70000, 1, QImage::Format_RGB32);
    wide.fill(Qt::red);
    EXPECT_TRUE(kv::JpegEncoder::encode(wide, 85).isEmpty());
    EXPECT_TRUE(kv::JpegEncoder::encode(QImage(), 85).isEmpty());
}
