#include "ui/ServerWaitDialog.h"

#include "core/StringTable.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kv
{

ServerWaitDialog::ServerWaitDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FServerWait"));
    setWindowModality(Qt::ApplicationModal);
    auto* picture = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    picture->setPixmap(
        QIcon::fromTheme(QStringLiteral("network-server"),
                         style()->standardIcon(QStyle::SP_DriveNetIcon, nullptr, this))
            .pixmap(side, side));
    picture->setAlignment(Qt::AlignTop);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lbCekani"));
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(280);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_buttons->setObjectName(QStringLiteral("buttons"));
    connect(m_buttons, &QDialogButtonBox::rejected, this, &ServerWaitDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(picture);
    row->addWidget(m_text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(m_buttons);
    applyTexts();
}

bool ServerWaitDialog::cancelAsked()
{
    if (!m_asked || m_reported)
        return false;
    m_reported = true;
    return true;
}

void ServerWaitDialog::reject()
{
    // Hidden only when the statement is over: until the server answers the
    // cancel, the program is still waiting and says so.
    m_asked = true;
    m_buttons->button(QDialogButtonBox::Cancel)->setEnabled(false);
    applyTexts();
}

void ServerWaitDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        applyTexts();
    QDialog::changeEvent(event);
}

void ServerWaitDialog::applyTexts()
{
    setWindowTitle(loadStr(325));
    m_text->setText(loadStr(m_asked ? 328 : 326));
}

} // namespace kv
