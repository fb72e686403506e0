// The files the windows write (notes, selection files, label files, the
// preview's PDF) on a disk that fails: each keeps its earlier version, no
// draft stays, and the reason reaches the caller.
#include "core/Error.h"
#include "core/Settings.h"
#include "domain/LabelSettings.h"
#include "domain/NoteFile.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionState.h"
#include "reports/MemoryDataSource.h"
#include "reports/Report.h"
#include "tests/support/FailingIo.h"
#include "tests/support/FileProbe.h"
#include "tests/support/TestHome.h"
#include "ui/ReportPrinter.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <functional>

#include <gtest/gtest.h>

using kvtest::FailingIo;

using kvtest::bytesOf;
using kvtest::namesIn;

namespace
{

// A report of a few text lines, enough for a page.
void fill(kv::Report& report, kv::MemoryDataSource& rows)
{
    report.setDataSource(&rows);
    auto& detail = report.addBand(kv::BandKind::Detail, QStringLiteral("detail"));
    detail.height = 20;
    detail.addField(QStringLiteral("name"), QRectF(10, 0, 300, 20), QString(),
                    QStringLiteral("name"));
}

} // namespace

TEST(WindowFilesFault, NotesSelectionsLabelsAndPreviewPdfKeepTheirEarlierVersion)
{
    kvtest::TestHome home;
    kv::settings() = kv::Settings();
    kv::settings().dataHome = home.path();
    const QString out = home.file("out");
    QDir().mkpath(out);

    kv::SelectionState selection;
    kv::LabelSettings labels;
    kv::MemoryDataSource rows(
        {{{"name", QStringLiteral("Alfa")}}, {{"name", QStringLiteral("Beta")}}});
    kv::Report report;
    fill(report, rows);
    QPrinter& printer = kv::ReportPrinter::of(report).printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir(out).filePath("preview.pdf"));

    struct Writer {
        const char* name;
        QString path;
        std::function<void(int round)> write;
    } writers[] = {
        {"note", kv::NoteFile::path(15),
         [](int round) { kv::NoteFile::save(15, round ? "Nová poznámka" : "Stará poznámka"); }},
        {"selection", QDir(out).filePath("a.kvv"),
         [&](int round) {
             selection.cbPozn = round;
             kv::saveSelection(selection, QDir(out).filePath("a.kvv"));
         }},
        {"labels", QDir(out).filePath("a.kl"),
         [&](int round) {
             labels.salutation = round ? "Vážený pane" : "Vážená paní";
             kv::LabelFile::save(labels, QDir(out).filePath("a.kl"));
         }},
        {"preview pdf", QDir(out).filePath("preview.pdf"),
         [&](int round) {
             report.title = round ? "Druhý" : "První";
             kv::ReportPrinter::of(report).print();
         }},
    };
    for (auto& w : writers) {
        SCOPED_TRACE(w.name);
        w.write(0);
        const QByteArray earlier = bytesOf(w.path);
        ASSERT_FALSE(earlier.isEmpty());
        const QString folder = QFileInfo(w.path).absolutePath();
        const QStringList names = namesIn(folder);
        for (auto call : {FailingIo::Write, FailingIo::Fsync, FailingIo::Close}) {
            FailingIo io(call, 1, call == FailingIo::Write ? ENOSPC : EIO);
            try {
                w.write(1);
                ADD_FAILURE() << "no error for call " << call;
            } catch (const kv::Error& e) {
                if (e.is(kv::Error::Kind::File))
                    EXPECT_TRUE(e.reason() == "No space left on device" ||
                                e.reason() == "Input/output error")
                        << e.message().toStdString();
                else
                    EXPECT_EQ(e.kind(), kv::Error::Kind::Report);
                EXPECT_TRUE(e.message().contains("No space left on device") ||
                            e.message().contains("Input/output error"))
                    << e.message().toStdString();
            }
            EXPECT_EQ(bytesOf(w.path), earlier);
            EXPECT_EQ(namesIn(folder), names);
        }
        w.write(1);
        EXPECT_NE(bytesOf(w.path), earlier);
    }
    kv::settings() = kv::Settings();
}
