#include "ui/NoteDialog.h"

#include "core/Error.h"
#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "domain/NoteFile.h"
#include "ui/ElidedLabel.h"
#include "ui/FixedDialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv
{

NoteDialog::NoteDialog(DataModule* dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    setUpFixedDialog(this, "FPozn");
    setWindowTitle(loadStr(111));

    m_name = new ElidedLabel(this);
    m_name->setObjectName(QStringLiteral("DBText1"));
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    auto label = new QLabel(loadStr(110), this);
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("mmPozn"));
    m_memo->setMinimumSize(568, 57);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap); // lines stay as typed
    // Tab moves on to the buttons; Ctrl+Tab types a tab.
    m_memo->setTabChangesFocus(true);
    m_memo->installEventFilter(this);
    const OkCancelButtons okCancel = makeOkCancel(this);
    m_ok = okCancel.ok;
    m_ok->setText(loadStr(67));
    m_cancel = okCancel.cancel;
    m_cancel->setText(loadStr(235));

    auto box = new QVBoxLayout(this);
    box->addWidget(m_name);
    box->addWidget(label);
    box->addWidget(m_memo);
    box->addLayout(okCancelRow(okCancel));
    resize(589, 189);

    // The note belongs to the firm current now, even if TFirma moves later.
    if (m_dm && m_dm->firms() && m_dm->firms()->isOpen() && !m_dm->firms()->isEmpty()) {
        m_peno = m_dm->firms()->int64(QStringLiteral("peno"));
        m_name->setFullText(m_dm->firms()->text(QStringLiteral("nazev")));
        m_memo->setPlainText(NoteFile::text(m_peno));
    } else {
        m_ok->setEnabled(false);
        m_memo->setReadOnly(true);
    }
}

bool NoteDialog::eventFilter(QObject* watched, QEvent* event)
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

bool NoteDialog::store()
{
    m_error.clear();
    if (m_peno == 0)
        return false;
    try {
        NoteFile::save(m_peno, m_memo->toPlainText());
        return true;
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
        m_error = e.message();
        return false;
    }
}

void NoteDialog::accept()
{
    // A failed write keeps the dialog open, so the typed text is not lost.
    if (!store()) {
        if (!m_error.isEmpty())
            QMessageBox::critical(this, loadStr(17), m_error);
        return;
    }
    QDialog::accept();
}

} // namespace kv
