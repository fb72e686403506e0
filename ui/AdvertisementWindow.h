#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace kv
{

class DataModule;

// The advertisements of the current firm, one picture at a time, with a
// navigator over them. The window follows the advertisement cursor of the
// data module and sizes itself to each picture; a picture that is missing
// closes it.
class AdvertisementWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AdvertisementWindow(DataModule* dm, QWidget* parent = nullptr);
    ~AdvertisementWindow() override;

    void applyTexts();
    // True between showing and closing: only then pictures are loaded.
    bool isShowing() const { return m_showing; }

    QFrame* panel1() const { return m_panel1; }
    QFrame* panel2() const { return m_panel2; }
    QLabel* image() const { return m_img; }
    QWidget* navigator() const { return m_nav; }
    QToolButton* navButton(int i) const { return m_navButtons[i]; } // first, prior, next, last
    QPushButton* closeButton() const { return m_btnZavrit; }
    QScrollArea* scrollArea() const { return m_scroll; }

public slots:
    // After each move of the advertisement cursor while the window shows.
    void afterAdvertisementMoved();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void formShow();
    void closeLater(const QString& error);
    void updateNavigator();
    void navigate(int button);

    DataModule* m_dm;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_content = nullptr;
    QFrame* m_panel1 = nullptr;
    QFrame* m_panel2 = nullptr;
    QLabel* m_img = nullptr;
    QWidget* m_nav = nullptr;
    QToolButton* m_navButtons[4] = {};
    QPushButton* m_btnZavrit = nullptr;
    bool m_showing = false;
    bool m_placed = false; // centred once per showing
};

} // namespace kv
