#pragma once

#include <QDialog>
#include <functional>

class QListWidget;
class QPushButton;

namespace kv
{

class Exclusion;

// The excluded-records window: one unticked line per excluded firm, the name
// it had when excluded, oldest first. Created once and shown modally again;
// the list is rebuilt at every showing.
class ExcludedFirmsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ExcludedFirmsDialog(Exclusion& exclusion, QWidget* parent = nullptr);

    void applyTexts();
    // Fills the list from the exclusion list and sets the enabled states.
    void refill();

    QListWidget* list() const { return m_lst; }
    QPushButton* restoreSelectedButton() const { return m_btnObnov; }
    QPushButton* restoreAllButton() const { return m_btnObnovvse; }
    QPushButton* closeButton() const { return m_btnZrusit; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnObnovClick();
    void btnObnovvseClick();
    // Runs a restore with the busy cursor, reports a failure, then closes.
    void restoring(const std::function<void()>& work);

    Exclusion& m_exclusion;
    QListWidget* m_lst = nullptr;
    QPushButton* m_btnObnovvse = nullptr;
    QPushButton* m_btnObnov = nullptr;
    QPushButton* m_btnZrusit = nullptr;
};

} // namespace kv
