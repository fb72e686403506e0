#include "app/TFAbout.h"

#include "app/AuxPictures.h"
#include "app/Links.h"
#include "app/core/StringTable.h"

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

TFAbout::TFAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FAbout"));
    setFixedSize(292, 326);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("QDialog { background: white; }"));
    auto layout = new QVBoxLayout(this);
    auto image = addLabel(this, layout, "Image1");
    image->setPixmap(AuxPictures::productPicture(QSize(260, 80)));
    addLabel(this, layout, "Label1")->setStyleSheet(QStringLiteral("font-weight: bold;"));
    for (const char* name : {"Label2", "Label3", "Label4", "Label5", "Label6"})
        addLabel(this, layout, name);
    auto links = new QHBoxLayout;
    auto web = linkLabel(this, "Label7", QString::fromLatin1(links::MakerSite));
    auto mail = linkLabel(this, "Label8", QString::fromLatin1(links::MakerMail));
    links->addWidget(web);
    links->addWidget(mail);
    layout->addLayout(links);
    auto ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    // Plain labels have no click signal: make them rich-text links.
    web->setText(QStringLiteral("<a href=\"%1\" style=\"color:blue\">%1</a>").arg(web->text()));
    mail->setText(
        QStringLiteral("<a href=\"mailto:%1\" style=\"color:blue\">%1</a>").arg(mail->text()));
    for (QLabel* l : {web, mail}) {
        l->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        connect(l, &QLabel::linkActivated, this,
                [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
    }
    ApplyTexts();
}

void TFAbout::ApplyTexts()
{
    setWindowTitle(LoadStr(104));
    findChild<QPushButton*>(QStringLiteral("btnOk"))->setText(LoadStr(67));
    findChild<QLabel*>(QStringLiteral("Label1"))->setText(QStringLiteral("Kvelta 2001"));
    findChild<QLabel*>(QStringLiteral("Label2"))
        ->setText(LoadStr(181) + shownVersion(QStringLiteral(KV_VERSION)));
    const char* names[] = {"Label3", "Label4", "Label5", "Label6"};
    for (int i = 0; i < 4; ++i)
        findChild<QLabel*>(QLatin1String(names[i]))->setText(LoadStr(177 + i));
}

QString TFAbout::shownVersion(const QString& fileVersion)
{
    const int dot = fileVersion.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString();
    return fileVersion.left(dot);
}

} // namespace kv
