#include "ui/AboutDialog.h"

#include "core/StringTable.h"
#include "domain/Links.h"
#include "ui/AuxPictures.h"
#include "ui/FixedDialog.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kv
{

namespace
{
QLabel* addLabel(QWidget* parent, QLayout* layout, const char* name)
{
    auto l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignCenter);
    layout->addWidget(l);
    return l;
}

QLabel* linkLabel(QWidget* parent, const char* name, const QString& text)
{
    auto l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setStyleSheet(QStringLiteral("color: blue; font-weight: bold; text-decoration: underline;"));
    l->setCursor(Qt::PointingHandCursor);
    return l;
}
} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setUpFixedDialog(this, "FAbout", {}, QSize(292, 326));
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("QDialog { background: white; }"));
    auto layout = new QVBoxLayout(this);
    auto image = addLabel(this, layout, "Image1");
    image->setPixmap(AuxPictures::productPicture(QSize(260, 80)));
    addLabel(this, layout, "Label1")->setStyleSheet(QStringLiteral("font-weight: bold;"));
    for (const char* name : {"Label2", "Label3", "Label4", "Label5", "Label6"})
        addLabel(this, layout, name);
    // The web address is shown as its host name; both links sit side by
    // side where the window is wide enough in the current font, else one
    // below the other, never over each other.
    const QString site = QString::fromLatin1(links::MakerSite);
    auto web = linkLabel(this, "Label7", QUrl(site).host());
    auto mail = linkLabel(this, "Label8", QString::fromLatin1(links::MakerMail));
    auto links = new QBoxLayout(QBoxLayout::LeftToRight);
    links->addWidget(web, 0, Qt::AlignCenter);
    links->addWidget(mail, 0, Qt::AlignCenter);
    layout->addLayout(links);
    auto ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    // Plain labels have no click signal: make them rich-text links.
    web->setText(
        QStringLiteral("<a href=\"%1\" style=\"color:blue\">%2</a>").arg(site, web->text()));
    mail->setText(
        QStringLiteral("<a href=\"mailto:%1\" style=\"color:blue\">%1</a>").arg(mail->text()));
    for (QLabel* l : {web, mail}) {
        l->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        connect(l, &QLabel::linkActivated, this,
                [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
    }
    const QMargins m = layout->contentsMargins();
    const int room = width() - m.left() - m.right();
    if (web->sizeHint().width() + links->spacing() + mail->sizeHint().width() > room)
        links->setDirection(QBoxLayout::TopToBottom);
    applyTexts();
}

void AboutDialog::applyTexts()
{
    setWindowTitle(loadStr(104));
    findChild<QPushButton*>(QStringLiteral("btnOk"))->setText(loadStr(67));
    findChild<QLabel*>(QStringLiteral("Label1"))->setText(QStringLiteral("Kvelta 2001"));
    findChild<QLabel*>(QStringLiteral("Label2"))
        ->setText(loadStr(181) + shownVersion(QStringLiteral(KV_VERSION)));
    const char* names[] = {"Label3", "Label4", "Label5", "Label6"};
    for (int i = 0; i < 4; ++i)
        findChild<QLabel*>(QLatin1String(names[i]))->setText(loadStr(177 + i));
}

QString AboutDialog::shownVersion(const QString& fileVersion)
{
    const int dot = fileVersion.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString();
    return fileVersion.left(dot);
}

} // namespace kv
