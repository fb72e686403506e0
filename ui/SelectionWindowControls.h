#pragma once

#include "domain/SelectionState.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QObject;
class QPushButton;
class QToolButton;

namespace kv
{

// The controls of the selection window at their fixed places, with their
// texts and the widths those texts need. The window owns the widgets (they
// are its children) and gives them their behaviour.
class SelectionWindowControls
{
public:
    using Row = SelectionState::Row;

    struct RowControls {
        QLabel* label = nullptr;
        QLineEdit* edit = nullptr;
        QToolButton* button = nullptr;
    };

    // Creates every control as a child of window; the row labels and edits
    // send their events to rowFilter (the window tells the active row by them).
    void build(QDialog* window, QObject* rowFilter);
    // The texts of the current language, then fitToTexts.
    void applyTexts();

    std::array<RowControls, SelectionState::RowCount> rows;
    QLabel* lSlovnik = nullptr;
    QLineEdit* edSlovnik = nullptr;
    QListView* dbList = nullptr;
    QGroupBox* rgLogV = nullptr;
    QGroupBox* rgLogMezi = nullptr;
    QButtonGroup* logV = nullptr;
    QButtonGroup* logMezi = nullptr;
    QCheckBox* cbEmail = nullptr;
    QCheckBox* cbWWW = nullptr;
    QCheckBox* cbPozn = nullptr;
    QToolButton* sbFulltext = nullptr;
    QToolButton* sbTip = nullptr;
    QToolButton* sbUlozitServer = nullptr; // save to the server
    QToolButton* sbNacistServer = nullptr; // load from the server
    QLabel* lPocet = nullptr;
    QPushButton* btnSpocitat = nullptr;
    QPushButton* btnSmazat = nullptr;
    QPushButton* btnHelp = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnZrusit = nullptr;

private:
    void buildRow(Row row, int x, int y);
    QGroupBox* buildLogic(const char* name, QButtonGroup*& group, int x, int y);
    void fitToTexts();

    QDialog* m_window = nullptr;
    QObject* m_rowFilter = nullptr;
};

} // namespace kv
