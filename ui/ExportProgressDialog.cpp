#include "ui/ExportProgressDialog.h"

#include "core/StringTable.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace kv
{

ExportProgressDialog::ExportProgressDialog(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FExportP1"));
    setWindowTitle(QString::fromUtf8("Vyčkejte ..."));
    setFixedSize(337, 105);
    m_lPopis = new QLabel(loadStr(105), this);
    m_lPopis->setObjectName(QStringLiteral("lPopis"));
    m_lPopis->setGeometry(12, 8, 313, 17);
    m_prb = new QProgressBar(this);
    m_prb->setObjectName(QStringLiteral("prb"));
    m_prb->setGeometry(12, 32, 313, 20);
    m_prb->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: blue; }"));
    m_btnZrusit = new QPushButton(loadStr(68), this);
    m_btnZrusit->setObjectName(QStringLiteral("btnZrusit"));
    m_btnZrusit->setGeometry(131, 66, 75, 25);
    connect(m_btnZrusit, &QPushButton::clicked, this, [this]() { m_cancelled = true; });
}

void ExportProgressDialog::start(int total)
{
    m_cancelled = false;
    m_prb->setRange(0, total);
    m_prb->setValue(0);
    if (QScreen* s = QApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    show();
    repaint();
}

bool ExportProgressDialog::step()
{
    QApplication::processEvents();
    if (m_cancelled)
        return false;
    m_prb->setValue(m_prb->value() + 1);
    return true;
}

} // namespace kv
