#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;

namespace kv
{

// "Waiting for the server" with a Cancel button, shown modal while a
// statement on the server takes long (ServerWaitHook). It does not run its
// own loop: the waiting statement keeps the events flowing and asks
// cancelAsked() between them. Cancel, Esc and closing the window all ask to
// cancel; the window stays until the statement has ended.
class ServerWaitDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ServerWaitDialog(QWidget* parent = nullptr);

    // True once after the user asked to cancel.
    bool cancelAsked();

    void reject() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyTexts();
    QLabel* m_text;
    QDialogButtonBox* m_buttons;
    bool m_asked = false;
    bool m_reported = false;
};

} // namespace kv
