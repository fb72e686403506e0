#include "ui/NoteDialog.h"

#include "core/Error.h"
#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "ui/ElidedLabel.h"
#include "ui/FixedDialog.h"
#include "ui/NoteConflictQuestion.h"

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
    m_saved = new QLabel(this);
    m_saved->setObjectName(QStringLiteral("lbUlozeno"));
    m_saved->setWordWrap(true);
    m_saved->hide();
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
    box->addWidget(m_saved);
    box->addLayout(okCancelRow(okCancel));
    resize(589, 189);

    // The note belongs to the firm current now, even if TFirma moves later.
    if (m_dm && m_dm->firms() && m_dm->firms()->isOpen() && !m_dm->firms()->isEmpty()) {
        m_peno = m_dm->firms()->int64(QStringLiteral("peno"));
        m_name->setFullText(m_dm->firms()->text(QStringLiteral("nazev")));
        open(m_dm->notes());
    } else {
        m_ok->setEnabled(false);
        m_memo->setReadOnly(true);
    }
}

NoteDialog::~NoteDialog() = default;

void NoteDialog::open(NoteStore& notes)
{
    try {
        m_edit = std::make_unique<NoteEdit>(notes, m_peno);
        m_memo->setPlainText(m_edit->opened().text);
        showSaved(m_edit->opened());
    } catch (const Error& e) {
        if (!e.is(Error::Kind::Engine))
            throw;
        // The server cannot be asked now: write anyway; the save finds out
        // whether a note exists and asks before replacing it.
        m_edit = std::make_unique<NoteEdit>(notes, m_peno, Note{});
        m_saved->setText(loadStr(256) + QLatin1Char(' ') + e.message());
        m_saved->show();
    }
}

void NoteDialog::showSaved(const Note& note)
{
    const bool known = m_dm->notes().shared() && note.revision != 0;
    QString text =
        known ? loadStr(250).arg(note.author, NoteStore::timeText(note.changed)) : QString();
    // Said before anything is typed: OK would be refused.
    if (known && !note.mine)
        text += QLatin1Char('\n') + loadStr(311).arg(note.owner);
    m_saved->setText(text);
    m_saved->setVisible(known);
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
    if (m_peno == 0 || !m_edit)
        return false;
    const QString mine = m_memo->toPlainText();
    try {
        std::optional<Note> conflict = m_edit->save(mine);
        while (conflict) {
            const auto answer = NoteConflictQuestion::ask(this, *conflict);
            if (!answer)
                return false; // back to the editor, the text as typed
            conflict = m_edit->resolve(*answer, mine, *conflict);
        }
        showSaved(m_edit->opened());
        return true;
    } catch (const Error& e) {
        if (e.is(Error::Kind::File))
            m_error = e.message();
        else if (e.is(Error::Kind::Engine) && m_edit->refused())
            m_error = e.message(); // trying again would not help
        else if (e.is(Error::Kind::Engine))
            m_error = loadStr(257) + QStringLiteral("\n\n") + e.message();
        else
            throw;
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
