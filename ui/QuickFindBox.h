#pragma once

#include "domain/DataModule.h"
#include "engine/QuickFindIndex.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QCompleter;
class QLineEdit;
class QStandardItemModel;
class QToolButton;

namespace kv
{

// The tool bar's quick-find box: after each keystroke up to 50 fitting firms
// drop down (name, town, IČO); Enter or a click shows the chosen firm alone,
// Esc or the back button returns to the set shown before, with its
// exclusions.
class QuickFindBox : public QWidget
{
    Q_OBJECT
public:
    // status reads and writes the status line's second panel.
    QuickFindBox(DataModule* dm, std::function<QString()> statusText,
                 std::function<void(const QString&)> setStatusText, QWidget* parent = nullptr);

    void applyTexts();
    QLineEdit* edit() const { return m_edit; }
    // Firms offered for the text in the box now.
    const std::vector<engine::QuickFindRow>& offered() const { return m_rows; }
    bool showsFoundFirm() const { return m_saved.has_value(); }

    void showFirm(const engine::QuickFindRow& firm);
    void back();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search(const QString& text);

    struct Saved {
        QString filter;
        bool filtered = false;
        QList<ExcludedFirm> excluded;
        QString status;
        QString shown; // the filter of the found firm
    };

    DataModule* m_dm;
    std::function<QString()> m_statusText;
    std::function<void(const QString&)> m_setStatusText;
    QLineEdit* m_edit = nullptr;
    QToolButton* m_back = nullptr;
    QCompleter* m_completer = nullptr;
    QStandardItemModel* m_model = nullptr;
    std::vector<engine::QuickFindRow> m_rows;
    std::optional<Saved> m_saved;
};

} // namespace kv
