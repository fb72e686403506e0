#pragma once

#include "domain/SelectionModel.h"
#include "engine/Filter.h"
#include "ui/SelectionWindowControls.h"

#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kv
{

class DataModule;
class CriterionDetailDialog;
class IndustrySearchDialog;
class DictionaryPanel;

// The selection window: seven criterion rows filled from dictionaries, the
// logic switches and extra conditions, and the commands that turn them into
// the company set's filter (OK) or count its firms (Count). Created once and
// shown modally again and again; the criteria live on between showings.
class SelectionWindow : public QDialog
{
    Q_OBJECT
public:
    using Row = SelectionState::Row;

    explicit SelectionWindow(DataModule& dm, QWidget* parent = nullptr);
    ~SelectionWindow() override;

    void applyTexts();

    SelectionModel& model() { return m_model; }
    const SelectionState& state() const { return m_model.state; }

    // The filter of the current criteria (possibly empty). Engine errors and
    // damaged keys are thrown.
    engine::Filter buildFilter();
    // OK without closing: installs the filter on the company set, warns when
    // nothing matches and writes the record count to the status bar. Errors
    // are reported in the general error box; returns false then.
    bool applySelection();
    // Count: the number of matching firms, or text 196, in lPocet.
    void count();
    // Back to a fresh selection after taking the snapshot.
    void clearAll();
    void takeSnapshot() { m_model.takeSnapshot(); }
    // Cancel's restoring of the snapshot, without closing.
    void restoreSnapshot();

    // Redraws every control from the criteria (after loading a selection).
    void showState();
    void updateEditButtons();
    // Row activation: the row's look, its dictionary and the logic switch.
    void activateRow(Row row);
    std::optional<Row> activeRow() const;
    // Adds the dictionary list's selected entry to the active row.
    void addSelectedEntry();

    // Re-applies the exclusion list after OK put the previous filter back.
    void setReapplyExclusion(std::function<void()> reapply) { m_reapply = std::move(reapply); }

    QLineEdit* rowEdit(Row row) const { return m_ui.rows[size_t(row)].edit; }
    QLabel* rowLabel(Row row) const { return m_ui.rows[size_t(row)].label; }
    QToolButton* rowButton(Row row) const { return m_ui.rows[size_t(row)].button; }

signals:
    // Text for the first panel of the main window's status bar.
    void statusTextChanged(int panel, const QString& text);
    void helpRequested(const QString& topic);
    void tipRequested();

protected:
    // The row buttons ("Upravit") and "Hledat obor" open windows of their own.
    virtual void sbRowClick(Row row);
    virtual void sbFulltextClick();

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectControls();
    void resetRows();
    void showRow(Row row);
    void setLogV(int index);
    void rgLogVClick(int index);
    void btnOkClick();
    void btnSmazatClick();
    void btnZrusitClick();
    void clearCount();

    DataModule& m_dm;
    SelectionModel m_model;
    std::function<void()> m_reapply;
    SelectionWindowControls m_ui;
    std::optional<Row> m_active;
    DictionaryPanel* m_dictionary = nullptr;
    // The detail and industry search windows live while this one is shown.
    // Guarded: hiding this window while one of them runs deletes it.
    QPointer<CriterionDetailDialog> m_detail;
    QPointer<IndustrySearchDialog> m_zatrid;
};

} // namespace kv
