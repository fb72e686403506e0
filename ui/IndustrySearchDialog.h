#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv
{

class DataModule;

// "Hledat obor": finds industries by a word anywhere in their text and lets
// the user pick several of them for the selection window's industry row.
// Each list entry carries its industry code beside the text.
class IndustrySearchDialog : public QDialog
{
    Q_OBJECT
public:
    struct Entry {
        QString text;
        qint32 code = 0;
    };

    explicit IndustrySearchDialog(DataModule& dm, QWidget* parent = nullptr);
    ~IndustrySearchDialog() override;

    void applyTexts();

    QLineEdit* searchEdit() const { return m_edHledat; }
    QListWidget* list() const { return m_lb; }
    bool anySelected() const;
    // The selected entries in list order (top to bottom).
    QList<Entry> selectedEntries() const;
    // Search: the industries whose text contains the box's text, by code.
    // Engine errors are thrown to the caller.
    void search();

    bool hintShown() const;
    int hintIndex() const { return m_hintIndex; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillWholeDictionary();
    void addEntry(const QString& text, qint32 code);
    void fitRowsToWidth();
    void edHledatChange(const QString& typed);
    void btnHledejClick();
    void btnOkClick();
    void lbMouseMove(const QPoint& pos);
    void hideHint();

    DataModule& m_dm;
    QLabel* m_lSlovnikzatrid = nullptr;
    QLineEdit* m_edHledat = nullptr;
    QPushButton* m_btnHledej = nullptr;
    QListWidget* m_lb = nullptr;
    QPushButton* m_btnOk = nullptr;
    QPushButton* m_btnZrusit = nullptr;
    QLabel* m_hint = nullptr;
    int m_hintIndex = -1;
};

} // namespace kv
