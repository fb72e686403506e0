#include "ui/PresentationWindow.h"

#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/Links.h"
#include "domain/PictureFile.h"
#include "ui/Application.h"
#include "ui/FixedDialog.h"

#include <QButtonGroup>
#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QToolButton>

namespace kv
{

namespace
{
constexpr int ClientWidth = 748;
constexpr int ButtonsWidth = 132;
constexpr int ButtonWidth = 130;
constexpr int ButtonHeight = 45;
constexpr int ScrollBarWidth = 16;

// The caption of the web button: the address without its scheme.
QString shownAddress(const char* url)
{
    return QUrl(QString::fromLatin1(url)).host();
}
} // namespace

PresentationWindow::PresentationWindow(QWidget* parent)
    : QDialog(parent), m_open([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setUpFixedDialog(this, "FPrezentace", {}, QSize(ClientWidth, PanelHeight));

    m_panPokec = new QFrame(this);
    m_panPokec->setObjectName(QStringLiteral("panPokec"));
    m_panPokec->setGeometry(0, 0, PanelWidth, PanelHeight);
    m_panPokec->setAutoFillBackground(true);
    QPalette white = m_panPokec->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_panPokec->setPalette(white);
    m_img = new QLabel(m_panPokec);
    m_img->setObjectName(QStringLiteral("img"));
    m_img->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_sb = new QScrollBar(Qt::Vertical, m_panPokec);
    m_sb->setObjectName(QStringLiteral("sb"));
    m_sb->setGeometry(PanelWidth - ScrollBarWidth, 0, ScrollBarWidth, PanelHeight);
    m_sb->setSingleStep(PresentationPages::ScrollStep);
    m_sb->setPageStep(PresentationPages::ScrollStep);
    m_sb->hide();
    connect(m_sb, &QScrollBar::valueChanged, this, &PresentationWindow::sbChange);

    m_panButtons = new QFrame(this);
    m_panButtons->setObjectName(QStringLiteral("panButtons"));
    m_panButtons->setGeometry(PanelWidth, 0, ButtonsWidth, PanelHeight);
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    int top = 0;
    for (const auto& b : PresentationPages::buttons()) {
        QToolButton* button = makeButton(b.name, top);
        m_group->addButton(button, b.page);
        top += ButtonHeight;
    }
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        if (!showPage(PresentationPages::Page(id)))
            pageButton(m_page)->setChecked(true); // the pressed button names the page shown
    });
    m_sbWeb = makeLink("sbWeb", top);
    connect(m_sbWeb, &QToolButton::clicked, this, &PresentationWindow::sbWebClick);
    m_sbMail = makeLink("sbMail", top + ButtonHeight);
    connect(m_sbMail, &QToolButton::clicked, this, &PresentationWindow::sbMailClick);

    m_btnClose = new QPushButton(m_panButtons);
    m_btnClose->setObjectName(QStringLiteral("btnClose"));
    m_btnClose->setGeometry(1, PanelHeight - ButtonHeight, ButtonWidth, ButtonHeight - 4);
    m_btnClose->setAutoDefault(false);
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::reject);
    applyTexts();
}

PresentationWindow::~PresentationWindow() = default;

QToolButton* PresentationWindow::makeButton(const char* name, int top)
{
    auto b = new QToolButton(m_panButtons);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(1, top, ButtonWidth, ButtonHeight);
    b->setCheckable(true);
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    return b;
}

QToolButton* PresentationWindow::makeLink(const char* name, int top)
{
    auto b = new QToolButton(m_panButtons);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(1, top, ButtonWidth, ButtonHeight);
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    QFont f = b->font();
    f.setUnderline(true);
    b->setFont(f);
    QPalette blue = b->palette();
    blue.setColor(QPalette::ButtonText, QColor(0, 0, 255));
    b->setPalette(blue);
    return b;
}

void PresentationWindow::applyTexts()
{
    setWindowTitle(loadStr(201));
    for (const auto& b : PresentationPages::buttons())
        pageButton(b.page)->setText(loadStr(b.textId));
    m_sbWeb->setText(shownAddress(links::MakerSite));
    m_sbMail->setText(loadStr(191));
    // A caption too long for its button is set a little smaller.
    for (QToolButton* link : {m_sbWeb, m_sbMail}) {
        QFont f = font();
        f.setUnderline(true);
        while (QFontMetrics(f).horizontalAdvance(link->text()) + 8 > link->width() &&
               f.pointSizeF() > 6.5)
            f.setPointSizeF(f.pointSizeF() - 0.5);
        link->setFont(f);
    }
    m_btnClose->setText(loadStr(235));
}

QToolButton* PresentationWindow::pageButton(PresentationPages::Page page) const
{
    return static_cast<QToolButton*>(m_group->button(page));
}

void PresentationWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        formShow();
}

void PresentationWindow::formShow()
{
    applyTexts();
    m_img->setGeometry(0, 0, PanelWidth, PanelHeight);
    if (showPage(PresentationPages::Kvelta))
        pageButton(PresentationPages::Kvelta)->setChecked(true);
}

bool PresentationWindow::showPage(PresentationPages::Page page)
{
    const QString path = PresentationPages::path(page, settings().langBase);
    QImage picture;
    QString error;
    // The page's file name is fixed, but the folder may hold a link leading out.
    const QString name = PresentationPages::fileName(page, settings().langBase).section(u'/', 1);
    if (PictureFile::load(QStringLiteral("Prez"), name, &picture, &error) !=
        PictureFile::Status::Loaded) {
        Application::showError(error);
        return false;
    }
    m_page = page;
    m_shownPath = path;
    m_img->setPixmap(QPixmap::fromImage(picture));
    m_img->setGeometry(0, 0, PanelWidth, picture.height());
    const PresentationPages::Scroll s = PresentationPages::scroll(picture.height(), PanelHeight);
    // A new page starts at its top.
    m_sb->setValue(0);
    m_sb->setMaximum(s.maximum);
    m_sb->setVisible(s.visible);
    sbChange(0);
    m_img->update();
    return true;
}

void PresentationWindow::sbChange(int position)
{
    m_img->move(0, -position);
}

void PresentationWindow::sbWebClick()
{
    m_open(QUrl(QString::fromLatin1(links::MakerSite)));
}

void PresentationWindow::sbMailClick()
{
    m_open(QUrl(QStringLiteral("mailto:") + QString::fromLatin1(links::MakerMail)));
}

} // namespace kv
