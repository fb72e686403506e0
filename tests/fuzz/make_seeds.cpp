// Writes the seed corpus with the program's own writers:
//   make_seeds <corpus folder>
// Each target's seeds go to <corpus folder>/<target>/ (filters are kept as
// committed text files and are not written here).

#include "core/Config.h"
#include "core/ListFile.h"
#include "core/Settings.h"
#include "domain/LabelSettings.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionRecord.h"
#include "domain/SelectionState.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

using namespace kv;

namespace
{

QString g_root;

QString target(const QString& name, const QString& file)
{
    QDir().mkpath(g_root + u'/' + name);
    return g_root + u'/' + name + u'/' + file;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

SelectionState sampleState()
{
    SelectionState s;
    s.rgLogV = 1;
    s.cbPozn = true;
    s.row(SelectionState::Nazev).add(QStringLiteral("stav*"), QStringLiteral("0"));
    s.row(SelectionState::Misto).add(QStringLiteral("Brno"), QStringLiteral("12"));
    s.row(SelectionState::Misto).add(QStringLiteral("Žďár nad Sázavou"), QStringLiteral("301"));
    s.row(SelectionState::Zatrid).IsAnd = false;
    s.row(SelectionState::Zatrid).add(QStringLiteral("Strojírenství"), QStringLiteral("4711"));
    return s;
}

void oxoSeeds()
{
    const QStringList lines{QStringLiteral("první řádek"), QString(), QStringLiteral("třetí=3")};
    saveListFile(lines, target("oxo", "mode0.oxo"), 0, 0);
    saveListFile(lines, target("oxo", "mode1.oxo"), 1, 0x0C);
    saveListFile(lines, target("oxo", "mode7.oxo"), 7, 0x0E);
    writeBytes(target("oxo", "plain.txt"), listfile::render(lines));
}

void configSeeds()
{
    settings().langBase = 1;
    writeConfig(target("config", "KV2001.ini"), 2);
    saveListFile({QStringLiteral("MdiMod=1"), QStringLiteral("Nast=1,0,1,1,")},
                 target("config", "short.ini"), 0, 0);
}

void selectionSeeds()
{
    saveSelection(sampleState(), target("selection", "sample.kvv"));
    saveSelection(SelectionState(), target("selection", "empty.kvv"));
    QBuffer record;
    record.open(QIODevice::ReadWrite);
    writeSelection(sampleState(), record);
    writeBytes(target("selection", "record.txt"), record.data());
}

void tlvyberSeeds()
{
    const SelectionState s = sampleState();
    int i = 0;
    for (const CriterionValueList& row : s.rows) {
        if (row.Texts.isEmpty() && i > 0)
            continue;
        QBuffer b;
        b.open(QIODevice::ReadWrite);
        row.saveToStream(b);
        writeBytes(target("tlvyber", QStringLiteral("row%1.txt").arg(i++)), b.data());
    }
}

void labelSeeds()
{
    LabelSettings s;
    LabelFile::save(s, target("labelfile", "default.kl"));
    s.fields = {"8,5", "12", "8,5", "12", "2", "8", "2,5", "0"};
    s.font.face = QStringLiteral("Arial");
    s.font.size = 10;
    s.font.setStyle(1);
    s.salutation = QStringLiteral("Vážený pane");
    s.options.fill(true);
    LabelFile::save(s, target("labelfile", "custom.kl"));
}

void pictureSeeds()
{
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(2, 2, 6, 4, Qt::darkBlue);
    p.end();
    image.save(target("picture", "logo.png"), "PNG");
    image.save(target("picture", "page.jpg"), "JPEG", 60);
    image.save(target("picture", "logo.bmp"), "BMP");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds <corpus folder>\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    oxoSeeds();
    configSeeds();
    selectionSeeds();
    tlvyberSeeds();
    labelSeeds();
    pictureSeeds();
    return 0;
}
