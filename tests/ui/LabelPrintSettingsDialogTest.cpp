#include "ui/LabelPrintSettingsDialog.h"
#include "core/ListFile.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/LabelTemplates.h"
#include "reports/AddressLabelReport.h"
#include "reports/MemoryDataSource.h"
#include "tests/support/DialogClicker.h"
#include "ui/FilteredLineEdit.h"
#include "ui/LabelLinesDialog.h"
#include "ui/LabelSheetView.h"
#include "ui/PageView.h"
#include "ui/PrintPreviewWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kv;
using G = LabelGeometry;

namespace
{

QList<QVariantMap> firms(int n)
{
    QList<QVariantMap> rows;
    for (int i = 1; i <= n; ++i)
        rows.append({{"nazev", QStringLiteral("Firma %1").arg(i)},
                     {"ulice", QStringLiteral("Ulice %1").arg(i)},
                     {"misto", "Praha"},
                     {"psc", "110 00"}});
    return rows;
}

struct Window {
    LabelPrintSettingsDialog w{std::make_unique<MemoryDataSource>(firms(7)), nullptr};
    Window() { w.show(); }
    QString text(G::Field f) const { return w.field(f)->text(); }
    QPushButton* button(const char* name) const
    {
        return w.findChild<QPushButton*>(QLatin1String(name));
    }
};

// Loads path and returns the text of the message box it showed, or "none".
QString loadAndReadMessage(LabelPrintSettingsDialog& w, const QString& path)
{
    QString seen;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &seen);
    w.loadFrom(path);
    if (seen.isEmpty()) {
        // No box came: one of our own takes the waiting click.
        QMessageBox box(QMessageBox::NoIcon, "", "none", QMessageBox::Ok);
        box.exec();
    }
    return seen;
}

} // namespace

TEST(LabelPrintSettingsDialog, StartsWithTheA4SheetAndItsSizes)
{
    Window win;
    EXPECT_EQ(win.w.size(), QSize(443, 527));
    EXPECT_EQ(win.w.windowTitle(), loadStr(147));
    const QStringList start{"10", "10", "10", "10", "3", "6", "5", "5"};
    for (int f = 0; f < G::FieldCount; ++f) {
        EXPECT_EQ(win.text(G::Field(f)), start[f]);
        EXPECT_EQ(win.w.field(G::Field(f))->enabledKey(), "0123456789");
    }
    LabelSheetView* plv = win.w.view();
    EXPECT_EQ(plv->size(), QSize(210, 297));
    EXPECT_EQ(plv->round(), 0);
    EXPECT_EQ(plv->backgroundColor(), QColor(0, 128, 128));
    EXPECT_EQ(plv->margin(), QColor(0, 128, 0));
    EXPECT_EQ(plv->countHorizontal(), 3);
    EXPECT_FLOAT_EQ(plv->sizeWidth(), 60);
    EXPECT_FLOAT_EQ(plv->sizeLength(), 42);
    EXPECT_EQ(win.w.sizeWidthLabel()->text(), "60,0 mm");
    EXPECT_EQ(win.w.sizeLengthLabel()->text(), "42,0 mm");
    EXPECT_EQ(LabelPrintSettingsDialog::sizeText(1234.56f), "1234,6 mm");
}

TEST(LabelPrintSettingsDialog, SizesInTheProgramLanguageNotTheProcessLocale)
{
    // As a program started under LANG=C or an English desktop would have it.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    kv::settings().langBase = 0;
    {
        Window win;
        EXPECT_EQ(win.w.sizeLengthLabel()->text(), "42,0 mm");
        EXPECT_EQ(LabelPrintSettingsDialog::sizeText(1234.56f), "1234,6 mm");
        win.w.hide();
        kv::settings().langBase = 500;
        win.w.show(); // the texts and sizes are applied on every showing
        EXPECT_EQ(win.w.sizeLengthLabel()->text(), "42.0 mm");
        EXPECT_EQ(win.w.sizeWidthLabel()->text(), "60.0 mm");
        EXPECT_EQ(win.w.sheetChooser()->lineEdit()->placeholderText(), loadStr(270, 500));
    }
    kv::settings().langBase = 0;
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
}

TEST(LabelPrintSettingsDialog, FieldChangesFollowTheRule)
{
    Window win;
    win.w.field(G::CountH)->setText("2");
    win.w.field(G::CountV)->setText("8");
    EXPECT_EQ(win.w.sizeWidthLabel()->text(), "92,5 mm");
    EXPECT_EQ(win.w.sizeLengthLabel()->text(), "30,3 mm");
    // Typing 0 leaves the view's count and the sizes as they were.
    win.w.field(G::CountH)->clear();
    win.w.field(G::CountH)->setFocus();
    QTest::keyClicks(win.w.field(G::CountH), "0");
    EXPECT_EQ(win.w.view()->countHorizontal(), 2);
    EXPECT_EQ(win.w.sizeWidthLabel()->text(), "92,5 mm");
    // A text that is no number stops the rule there, with a beep.
    const int beeps = win.w.beeps();
    win.w.field(G::Top)->setText("1x");
    EXPECT_EQ(win.w.beeps(), beeps + 1);
    win.w.field(G::SpaceV)->setText("9");
    EXPECT_EQ(win.w.view()->spaceVertical(), 5) << "fields after the bad one are not applied";
    win.w.field(G::Top)->setText("10");
    EXPECT_EQ(win.w.view()->spaceVertical(), 9);
}

TEST(LabelPrintSettingsDialog, ContentWindowCancelAndDefaults)
{
    Window win;
    LabelLinesDialog* d = win.w.detail();
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->box(LabelSettings::Country)->isVisibleTo(d));
    EXPECT_FALSE(d->salutationEdit()->isEnabled());
    d->show();
    d->box(LabelSettings::Street)->setChecked(false);
    d->box(LabelSettings::Salutation)->setChecked(true);
    EXPECT_TRUE(d->salutationEdit()->isEnabled());
    EXPECT_EQ(d->salutationEdit()->palette().color(QPalette::Base), QColor(Qt::white));
    d->salutationEdit()->setText("Vážení");
    d->findChild<QPushButton*>("btnZrusit")->click();
    EXPECT_TRUE(d->box(LabelSettings::Street)->isChecked());
    EXPECT_FALSE(d->box(LabelSettings::Salutation)->isChecked());
    EXPECT_EQ(d->salutation(), "Vážení") << "the text is not put back";
    EXPECT_EQ(d->salutationEdit()->palette().color(QPalette::Base), QColor(192, 192, 192));

    win.w.labelReport()->font.face = "Serif Test";
    win.w.field(G::Left)->setText("3");
    d->box(LabelSettings::Salutation)->setChecked(true);
    win.button("btnNormal")->click();
    EXPECT_EQ(win.text(G::Left), "10");
    EXPECT_FALSE(d->box(LabelSettings::Salutation)->isChecked());
    EXPECT_TRUE(d->salutation().isEmpty());
    EXPECT_FALSE(d->salutationEdit()->isEnabled());
    EXPECT_FALSE(d->box(LabelSettings::Country)->isChecked());
    EXPECT_EQ(win.w.labelReport()->font.face, "Serif Test") << "the font stays";
}

TEST(LabelPrintSettingsDialog, ReopeningKeepsFieldsButNotContentOrFont)
{
    Window win;
    win.w.field(G::CountV)->setText("8");
    win.w.detail()->box(LabelSettings::Name)->setChecked(false);
    win.w.labelReport()->font.size = 31;
    win.w.hide();
    EXPECT_EQ(win.w.detail(), nullptr);
    EXPECT_EQ(win.w.labelReport(), nullptr);
    win.w.show();
    EXPECT_EQ(win.text(G::CountV), "8");
    EXPECT_TRUE(win.w.detail()->box(LabelSettings::Name)->isChecked());
    EXPECT_EQ(win.w.labelReport()->font, LabelFont::fromFont(QGuiApplication::font()));
}

TEST(LabelPrintSettingsDialog, LabelFileMessages)
{
    QTemporaryDir dir;
    Window win;
    // Header in lower case: message 163 + "Kvelta 2001", nothing changed.
    QStringList lines = LabelFile::lines(LabelSettings{});
    lines[0] = "kv2001;labels;";
    lines[1] = "4";
    saveListFile(lines, dir.filePath("lower.kl"), 1, 0x0E);
    EXPECT_EQ(loadAndReadMessage(win.w, dir.filePath("lower.kl")), loadStr(163) + "Kvelta 2001");
    EXPECT_EQ(win.text(G::Left), "10");

    // Ten lines: the fields and the face are applied, then message 164.
    lines[0] = "KV2001;Labels;";
    lines[5] = "2";
    lines[9] = "Liberation Mono";
    saveListFile(lines.mid(0, 10), dir.filePath("short.kl"), 1, 0x0E);
    const QString shown = QDir::toNativeSeparators(dir.filePath("short.kl"));
    EXPECT_EQ(loadAndReadMessage(win.w, dir.filePath("short.kl")),
              loadStr(164).replace("%s", shown));
    EXPECT_EQ(win.text(G::Left), "4");
    EXPECT_EQ(win.w.view()->countHorizontal(), 2);
    EXPECT_EQ(win.w.labelReport()->font.face, "Liberation Mono");
    EXPECT_EQ(win.w.sizeWidthLabel()->text(), "95,5 mm"); // (210 - 4 - 10 - 5) / 2

    // A missing file says nothing.
    EXPECT_EQ(loadAndReadMessage(win.w, dir.filePath("none.kl")), "none");

    // Saving where no file can be made: message 165 with the path.
    const QString bad = dir.filePath("no/dir/x.kl");
    QString seen;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &seen);
    win.w.saveTo(bad);
    EXPECT_EQ(seen, loadStr(165).replace("%s", QDir::toNativeSeparators(bad)));
}

TEST(LabelPrintSettingsDialog, SaveAndLoadRestoreTheWholeSetting)
{
    QTemporaryDir dir;
    Window win;
    win.w.field(G::Right)->setText("7");
    win.w.detail()->box(LabelSettings::Town)->setChecked(false);
    win.w.detail()->box(LabelSettings::Salutation)->setChecked(true);
    win.w.detail()->setSalutation("Vážený pane");
    win.w.labelReport()->font.face = "Liberation Serif";
    win.w.labelReport()->font.setStyle(2 | 8);
    win.w.labelReport()->font.charset = 238;
    const LabelSettings saved = win.w.settings();
    win.w.saveTo(dir.filePath("all.kl"));
    win.button("btnNormal")->click();
    win.w.hide(); // content and font start again
    win.w.show();
    EXPECT_NE(win.w.settings(), saved);
    EXPECT_EQ(loadAndReadMessage(win.w, dir.filePath("all.kl")), "none");
    EXPECT_EQ(win.w.settings(), saved);
    EXPECT_TRUE(win.w.detail()->salutationEdit()->isEnabled());
}

TEST(LabelPrintSettingsDialog, MakersSheetFillsTheFields)
{
    Window win;
    QComboBox* chooser = win.w.sheetChooser();
    const int index = chooser->findText("Avery L7163", Qt::MatchStartsWith);
    ASSERT_GE(index, 0);
    // Any part of the name finds a sheet, not only its start.
    chooser->completer()->setCompletionPrefix("7163");
    QStringList found;
    for (int i = 0; chooser->completer()->setCurrentRow(i); ++i)
        found << chooser->completer()->currentCompletion();
    EXPECT_TRUE(found.contains(chooser->itemText(index)));
    EXPECT_EQ(found.filter("7163").size(), found.size());
    win.w.chooseSheet(index);
    EXPECT_EQ(win.text(G::CountH), "2");
    EXPECT_EQ(win.text(G::CountV), "7");
    const auto fields = LabelTemplates::builtIn()[index].fields();
    for (int f = 0; f < G::FieldCount; ++f)
        EXPECT_EQ(win.text(G::Field(f)), fields[size_t(f)]);
    EXPECT_EQ(win.text(G::SpaceV), "0");
    EXPECT_EQ(win.w.sizeWidthLabel()->text(),
              LabelPrintSettingsDialog::sizeText(win.w.view()->sizeWidth()));
    EXPECT_NEAR(win.w.view()->sizeWidth(), 99.1, 1.0);
    EXPECT_NEAR(win.w.view()->sizeLength(), 38.1, 1.0);
}

TEST(LabelPrintSettingsDialog, PreviewShowsTheLabelsAndCloseEndsIt)
{
    Window win;
    PrintPreviewWindow preview;
    win.w.setPreview(&preview);
    // An empty field: the conversion fails, no preview.
    win.w.field(G::SpaceH)->clear();
    QString seen;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &seen);
    win.w.startPreview();
    EXPECT_FALSE(seen.isEmpty());
    EXPECT_FALSE(preview.isVisible());
    win.w.field(G::SpaceH)->setText("5");

    int pages = -1;
    bool closedByWindow = false;
    auto poll = new QTimer(&win.w);
    QObject::connect(poll, &QTimer::timeout, [&]() {
        AddressLabelReport* r = win.w.labelReport();
        if (!preview.isVisible() || !r || !r->report().pageStore().isFinished())
            return;
        poll->stop();
        pages = r->report().pageStore().pageCount();
        closedByWindow = true;
        win.w.closeWindow(); // beeps, closes the preview, then itself
    });
    poll->start(20);
    win.w.startPreview();
    EXPECT_TRUE(closedByWindow);
    EXPECT_EQ(pages, 1);
    EXPECT_FALSE(preview.isVisible());
    EXPECT_FALSE(win.w.isVisible());
    EXPECT_EQ(win.w.labelReport(), nullptr) << "gone once the preview returned";
}
