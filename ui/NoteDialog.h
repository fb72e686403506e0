#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kv
{

class ElidedLabel;
class DataModule;

// The note editor for the firm current in TFirma when it opens. OK stores
// the note (or deletes it when it is empty); Cancel leaves the file alone.
class NoteDialog : public QDialog
{
    Q_OBJECT
public:
    explicit NoteDialog(DataModule* dm, QWidget* parent = nullptr);

    QPlainTextEdit* editor() const { return m_memo; }
    ElidedLabel* nameLabel() const { return m_name; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    qint64 peno() const { return m_peno; }

    // Stores the edited note; on failure the message is in lastError().
    bool store();
    QString lastError() const { return m_error; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DataModule* m_dm;
    qint64 m_peno = 0;
    QString m_error;
    ElidedLabel* m_name = nullptr; // a long name never widens the window
    QPlainTextEdit* m_memo = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace kv
