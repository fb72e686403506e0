#include "data/TFPozn.h"

#include "app/core/FileError.h"
#include "app/core/StringTable.h"
#include "data/ElidedLabel.h"
#include "data/NoteFile.h"
#include "data/TDM.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv
{

TFPozn::TFPozn(TDM* dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("FPozn"));
    setWindowTitle(LoadStr(111));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);

    m_name = new ElidedLabel(this);
    m_name->setObjectName(QStringLiteral("DBText1"));
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    auto label = new QLabel(LoadStr(110), this);
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("mmPozn"));
    m_memo->setMinimumSize(568, 57);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap); // lines stay as typed
    // Tab moves on to the buttons; Ctrl+Tab types a tab.
    m_memo->setTabChangesFocus(true);
    m_memo->installEventFilter(this);
    m_ok = new QPushButton(LoadStr(67), this);
    m_ok->setObjectName(QStringLiteral("btnOk"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(LoadStr(235), this);
    m_cancel->setObjectName(QStringLiteral("btnZrusit"));
    connect(m_ok, &QPushButton::clicked, this, &TFPozn::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TFPozn::reject);

    auto buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto box = new QVBoxLayout(this);
    box->addWidget(m_name);
    box->addWidget(label);
    box->addWidget(m_memo);
    box->addLayout(buttons);
    resize(589, 189);

    // The note belongs to the firm current now, even if TFirma moves later.
    if (m_dm && m_dm->TFirma && m_dm->TFirma->isOpen() && !m_dm->TFirma->isEmpty()) {
        m_peno = m_dm->TFirma->integer(QStringLiteral("peno"));
        m_name->setFullText(m_dm->TFirma->text(QStringLiteral("nazev")));
        m_memo->setPlainText(NoteFile::text(m_peno));
    } else {
        m_ok->setEnabled(false);
        m_memo->setReadOnly(true);
    }
}

bool TFPozn::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_memo && event->type() == QEvent::KeyPress) {
        auto key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier &&
            !m_memo->isReadOnly()) {
            m_memo->insertPlainText(QStringLiteral("\t"));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TFPozn::store()
{
    m_error.clear();
    if (m_peno == 0)
        return false;
    try {
        NoteFile::save(m_peno, m_memo->toPlainText());
        return true;
    } catch (const FileError& e) {
        m_error = e.message();
        return false;
    }
}

void TFPozn::accept()
{
    // A failed write keeps the dialog open, so the typed text is not lost.
    if (!store()) {
        if (!m_error.isEmpty())
            QMessageBox::critical(this, LoadStr(17), m_error);
        return;
    }
    QDialog::accept();
}

} // namespace kv
