#pragma once

#include <QPointer>
#include <QWidget>

class QMenu;
class QTableView;
class QModelIndex;

namespace kv
{

class DataModule;
class FirmListModel;

// The company list: one line per firm of the current set, in a grid bound to
// the data module's cursor TFirma. Choosing a line makes that firm current;
// any other move of the cursor moves the highlighted line. Paid entries are
// bold; the current line is white on blue whether or not the grid has focus.
//
// A plain widget: the main window wraps it as a child window. The program-wide
// list-open flag is set while an instance exists.
class FirmListWindow : public QWidget
{
    Q_OBJECT
public:
    FirmListWindow(DataModule* dm, QMenu* popup, QWidget* parent = nullptr);
    ~FirmListWindow() override;

    void applyTexts();
    QSize sizeHint() const override;

    QTableView* grid() const { return m_grid; }
    FirmListModel* model() const { return m_model; }

public slots:
    // The data module's request after every move of the cursor, and the
    // display settings' after a change: follow the cursor and redraw.
    void repaintList();

signals:
    // Delete pressed in the grid: exclude the current firm.
    void excludeRequested();
    // The window was shown (the main window arranges its children then).
    void shown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void lineChosen(const QModelIndex& current);
    void selectCurrentFirm();
    void fitColumn();
    void showPopup(const QPoint& pos);

    QPointer<DataModule> m_dm;
    QPointer<QMenu> m_popup;
    FirmListModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    bool m_following = false; // moving the line to the cursor: not a choice of the user
    int m_columnFloor = 0;    // widest line seen in this set, so scrolling does not jitter
};

} // namespace kv
