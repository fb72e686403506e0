#pragma once

#include "domain/NoteEdit.h"

#include <QDialog>
#include <memory>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kv
{

class ElidedLabel;
class DataModule;

// The note editor for the firm current in TFirma when it opens. OK stores
// the own note (or deletes it when it is empty); Cancel leaves it alone.
// With notes on a server the window says who saved the note and when, and
// a save that finds the note changed elsewhere asks what to do
// (NoteConflictQuestion). A failed save keeps the window and its text.
class NoteDialog : public QDialog
{
    Q_OBJECT
public:
    explicit NoteDialog(DataModule* dm, QWidget* parent = nullptr);
    ~NoteDialog() override;

    QPlainTextEdit* editor() const { return m_memo; }
    ElidedLabel* nameLabel() const { return m_name; }
    QLabel* savedLabel() const { return m_saved; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    qint64 peno() const { return m_peno; }

    // Stores the edited note; on failure the message is in lastError().
    // False with an empty message when the user went back to the editor.
    bool store();
    QString lastError() const { return m_error; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void open(NoteStore& notes);
    void showSaved(const Note& note);

    DataModule* m_dm;
    qint64 m_peno = 0;
    QString m_error;
    std::unique_ptr<NoteEdit> m_edit;
    ElidedLabel* m_name = nullptr; // a long name never widens the window
    QLabel* m_saved = nullptr;     // author and time, with a server
    QPlainTextEdit* m_memo = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace kv
