#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kv
{

// Progress of one text export, on top of the export window, with a Cancel
// button that takes effect at the next firm.
class ExportProgressDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ExportProgressDialog(QWidget* parent = nullptr);

    void start(int total);
    // Lets pending window messages run (so Cancel can be clicked), then
    // advances the bar; false once Cancel was pressed.
    bool step();
    bool cancelled() const { return m_cancelled; }

    QProgressBar* bar() const { return m_prb; }
    QPushButton* cancelButton() const { return m_btnZrusit; }

private:
    QLabel* m_lPopis = nullptr;
    QProgressBar* m_prb = nullptr;
    QPushButton* m_btnZrusit = nullptr;
    bool m_cancelled = false;
};

} // namespace kv
