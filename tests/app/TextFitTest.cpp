// Captions fit their controls in both languages: every label, button, check
// box and group title is at least as wide as its text needs in the font it
// is drawn in, and lies inside its window. The status bar's panels grow with
// their texts.
#include "core/Settings.h"
#include "core/UiLanguage.h"
#include "tests/support/ProgramWindows.h"
#include "ui/AboutDialog.h"
#include "ui/ElidedLabel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <gtest/gtest.h>

namespace
{

QString plain(QString s)
{
    s.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    s.remove(QLatin1Char('&'));
    s.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return s;
}

// The width a control needs to show its whole caption, or 0 where it does
// not apply (no text, wrapped or shortened on purpose, rich text).
int neededWidth(QWidget* w)
{
    const QFontMetrics fm(w->font());
    QStyle* style = w->style();
    if (auto l = qobject_cast<QLabel*>(w)) {
        if (l->text().isEmpty() || l->wordWrap() || qobject_cast<kv::ElidedLabel*>(l) ||
            Qt::mightBeRichText(l->text()) || l->text().contains(QLatin1Char('\n')))
            return 0;
        const QString shown = l->buddy() ? plain(l->text()) : l->text();
        const QMargins m = l->contentsMargins();
        return fm.horizontalAdvance(shown) + m.left() + m.right() + 2 * l->margin();
    }
    if (auto b = qobject_cast<QCheckBox*>(w))
        return b->text().isEmpty() ? 0
                                   : fm.horizontalAdvance(plain(b->text())) +
                                         style->pixelMetric(QStyle::PM_IndicatorWidth) +
                                         style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    if (auto b = qobject_cast<QRadioButton*>(w))
        return b->text().isEmpty() ? 0
                                   : fm.horizontalAdvance(plain(b->text())) +
                                         style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                                         style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    if (auto b = qobject_cast<QAbstractButton*>(w)) {
        if (b->text().isEmpty())
            return 0;
        const int icon = b->icon().isNull() ? 0 : b->iconSize().width() + 4;
        return fm.horizontalAdvance(plain(b->text())) + icon + 6;
    }
    if (auto g = qobject_cast<QGroupBox*>(w))
        return g->title().isEmpty() ? 0 : fm.horizontalAdvance(plain(g->title())) + 12;
    return 0;
}

QStringList tooNarrow(QWidget* window, const QString& name)
{
    QStringList found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->inherits("QMenu") || w->inherits("QMdiSubWindow"))
            continue;
        const int need = neededWidth(w);
        const QString what = name + QStringLiteral(" ") + w->metaObject()->className() +
                             QStringLiteral(" ") + w->objectName();
        if (need > w->width())
            found << QStringLiteral("%1 \"%2\": %3 < %4")
                         .arg(what, plain(qobject_cast<QGroupBox*>(w)
                                              ? qobject_cast<QGroupBox*>(w)->title()
                                          : qobject_cast<QLabel*>(w)
                                              ? qobject_cast<QLabel*>(w)->text()
                                              : qobject_cast<QAbstractButton*>(w)->text()))
                         .arg(w->width())
                         .arg(need);
        // Nothing reaches over its parent's edge in a window of fixed size.
        QWidget* parent = w->parentWidget();
        if (need > 0 && parent && window->minimumSize() == window->maximumSize() &&
            w->geometry().right() > parent->width())
            found << what + QStringLiteral(" leaves its parent");
    }
    return found;
}

} // namespace

TEST(TextFit, EveryCaptionFitsInBothLanguages)
{
    kvtest::ProgramWindows windows(60);
    for (int lang : {0, 500}) {
        kv::UiLanguage::apply(lang);
        windows.main->applyTexts();
        QStringList found;
        windows.forEachWindow(
            [&found](QWidget* window, const QString& name) { found += tooNarrow(window, name); });
        EXPECT_TRUE(found.isEmpty()) << "language " << lang << "\n"
                                     << found.join("\n").toStdString();
    }
    kv::UiLanguage::apply(0);
}

TEST(TextFit, StatusPanelsShowTheirWholeText)
{
    kvtest::ProgramWindows windows(60);
    for (int i = 0; i < 3; ++i)
        windows.main->runCommand(kv::Command::Exclude);
    const QString text = windows.main->statusText(1);
    ASSERT_EQ(text, QString::fromUtf8("Počet vyjmutých záznamů : 3"));
    for (int panel : {0, 1}) {
        auto label = windows.main->findChild<QLabel*>(QStringLiteral("stbPanel%1").arg(panel));
        ASSERT_NE(label, nullptr);
        EXPECT_GE(label->contentsRect().width(),
                  label->fontMetrics().horizontalAdvance(label->text()))
            << label->text().toStdString();
    }
    // The usual widths stay where the text is short.
    windows.main->setStatusText(1, QString());
    EXPECT_EQ(windows.main->findChild<QLabel*>("stbPanel1")->width(), 100);
    EXPECT_EQ(windows.main->findChild<QLabel*>("stbPanel0")->width(), 150);
}

TEST(TextFit, AboutBoxLinksDoNotOverlap)
{
    for (int lang : {0, 500}) {
        kv::settings().langBase = lang;
        kv::AboutDialog about;
        about.show();
        QApplication::processEvents();
        auto web = about.findChild<QLabel*>("Label7");
        auto mail = about.findChild<QLabel*>("Label8");
        EXPECT_FALSE(web->geometry().intersects(mail->geometry()));
        for (QLabel* l : {web, mail}) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->objectName().toStdString();
            EXPECT_TRUE(about.rect().contains(l->geometry())) << l->objectName().toStdString();
        }
    }
    kv::settings().langBase = 0;
}
