#include "demo/DemoGenerator.h"

#include "core/Error.h"
#include "core/SafeFileWriter.h"
#include "demo/CzechData.h"
#include "demo/DemoDatabase.h"
#include "demo/DemoPictures.h"
#include "demo/DemoTiming.h"
#include "demo/FirmStream.h"
#include "demo/PictureWriter.h"

#include <QDir>
#include <QFile>
#include <memory>

namespace kv
{

DemoGenerator::DemoGenerator(Options options) : m_options(std::move(options)) {}

void DemoGenerator::report(const QString& stage, qint64 done, qint64 total) const
{
    if (m_options.progress)
        m_options.progress(stage, done, total);
}

bool DemoGenerator::generate(const QString& dir)
{
    if (m_options.firms < 1) {
        m_error = QStringLiteral("The number of firms must be at least 1.");
        return false;
    }
    DemoTiming::mark("start");
    if (!(writeFirms(dir) && writePresentation(dir) && writeHelp(dir)))
        return false;
    DemoTiming::mark("presentation and help");
    // The pictures were written without a sync each; a write-back failure
    // shows here.
    try {
        SafeFileWriter::syncFileSystem(dir);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        m_error = QStringLiteral("Cannot write %1").arg(e.message());
        return false;
    }
    DemoTiming::mark("file system sync");
    return true;
}

bool DemoGenerator::writeFirms(const QString& dir)
{
    CzechData data;
    if (!data.load(&m_error))
        return false;
    const QDir home(dir);
    const QString work = home.filePath(QStringLiteral("Dta/KV2001.db.build"));
    const QString complete = home.filePath(QStringLiteral("Dta/KV2001.db.tmp"));
    const QString final = home.filePath(QStringLiteral("Dta/KV2001.db"));

    DemoDatabase db(data);
    auto failed = [&](const QString& why) {
        m_error = why;
        QFile::remove(work);
        QFile::remove(complete);
        return false;
    };
    if (!db.create(work))
        return failed(db.error());

    // The firms are made on another core while this thread writes them.
    FirmStream firms(data, m_options.seed, m_options.firms);
    const QString logos = home.filePath(QStringLiteral("Log/"));
    const QString ads = home.filePath(QStringLiteral("RK/"));
    const qint64 step = std::max(1, m_options.firms / 20);
    const QString stage = QStringLiteral("Firms");
    // Pictures are drawn beside the database work from the few texts they
    // show; many may wait, so the firms never wait for them, and they go
    // on while the indexes are built.
    PictureWriter pictures;
    QString pictureError;
    const auto addPictures = [&](const DemoFirm& firm) {
        if (firm.logo.isNull() && firm.ads.isEmpty())
            return;
        const auto shown = std::make_shared<const DemoFirm>(DemoPictures::shownParts(firm));
        if (!firm.logo.isNull())
            pictures.add([shown] { return DemoPictures::logo(*shown); }, logos + firm.logo, "PNG");
        const QString town = data.towns()[firm.town].name;
        for (int a = 0; a < firm.ads.size(); ++a)
            pictures.add(
                [shown, town, a] { return DemoPictures::advertisement(*shown, town, a + 1); },
                ads + firm.ads[a], "JPG");
    };
    int i = 0;
    for (std::vector<DemoFirm> batch = firms.next(); !batch.empty() && !pictures.failed();
         batch = firms.next(std::move(batch))) {
        for (const DemoFirm& firm : batch) {
            if (!db.addFirm(firm))
                return failed(db.error());
            addPictures(firm);
            if (pictures.failed())
                break;
            if ((i + 1) % step == 0 || i + 1 == m_options.firms)
                report(stage, i + 1, m_options.firms);
            ++i;
        }
    }
    if (pictures.failed() && !pictures.finish(&pictureError))
        return failed(pictureError);

    DemoTiming::mark("firms");
    report(QStringLiteral("Dictionaries and indexes"), 0, 1);
    if (!db.finish(complete))
        return failed(db.error());
    if (!pictures.finish(&pictureError))
        return failed(pictureError);
    DemoTiming::mark("remaining pictures");
    try {
        SafeFileWriter::commit(complete, final);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        return failed(QStringLiteral("Cannot write %1").arg(e.message()));
    }
    report(QStringLiteral("Dictionaries and indexes"), 1, 1);
    return true;
}

bool DemoGenerator::writePresentation(const QString& dir)
{
    const QStringList files = DemoPictures::presentationFiles();
    const QDir prez(QDir(dir).filePath(QStringLiteral("Prez")));
    for (int i = 0; i < files.size(); ++i) {
        const QImage page = DemoPictures::presentationPage(i % 6, i >= 6);
        if (!DemoPictures::save(page, prez.filePath(files[i]), "JPG", &m_error))
            return false;
    }
    report(QStringLiteral("Presentation pages"), files.size(), files.size());
    return true;
}

bool DemoGenerator::writeHelp(const QString& dir)
{
    QFile in(QStringLiteral(":/KV2001.html"));
    if (!in.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("The built-in help file is missing.");
        return false;
    }
    try {
        SafeFileWriter::write(QDir(dir).filePath(QStringLiteral("KV2001.html")), in.readAll());
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        m_error = QStringLiteral("Cannot write %1").arg(e.message());
        return false;
    }
    return true;
}

} // namespace kv
