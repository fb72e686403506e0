#pragma once

#include "domain/CriterionValueList.h"

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kv
{

// Edits one criterion row: its values one per line, Delete, and the row's
// logic. The caller fills WorkList before showing and reads it back after
// OK; Cancel restores the list as it was when the window was shown.
class CriterionDetailDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CriterionDetailDialog(QWidget* parent = nullptr);
    ~CriterionDetailDialog() override;

    void applyTexts();

    CriterionValueList WorkList;
    CriterionValueList Backup;
    // The user deleted a value or touched the logic switch since showing.
    bool Changed = false;

    QLabel* lPopis() const { return m_lPopis; }
    // Town, district and company number rows are always "nebo".
    void setLogicEnabled(bool on);

    void btnSmazatClick();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillList();
    void updateEnabled();
    void btnOkClick();

    QLabel* m_lPopis = nullptr;
    QPushButton* m_btnOk = nullptr;
    QListWidget* m_lbPop = nullptr;
    QGroupBox* m_rgLog = nullptr;
    QButtonGroup* m_log = nullptr;
    QPushButton* m_btnSmazat = nullptr;
    QPushButton* m_btnZrusit = nullptr;
};

} // namespace kv
