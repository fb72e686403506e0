#pragma once

#include "domain/PresentationPages.h"

#include <QDialog>
#include <QUrl>
#include <functional>

class QAbstractButton;
class QButtonGroup;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace kv
{

// The maker's presentation: six pages (the maker, this product, three
// sibling products, contacts) as pictures below the data home, one button
// each, and links to the maker's web site and mail.
class PresentationWindow : public QDialog
{
    Q_OBJECT
public:
    static constexpr int PanelWidth = 616;
    static constexpr int PanelHeight = 500;

    explicit PresentationWindow(QWidget* parent = nullptr);
    ~PresentationWindow() override;

    void applyTexts();
    // Loads the page's picture in the current language. A picture that
    // cannot be read is reported and the page shown before stays.
    bool showPage(PresentationPages::Page page);
    PresentationPages::Page currentPage() const { return m_page; }
    // Path of the picture on show; empty before the first page.
    QString shownPath() const { return m_shownPath; }

    // Opening addresses goes through here, so that a test can watch it.
    void setUrlOpener(std::function<void(const QUrl&)> open) { m_open = std::move(open); }

    QFrame* pagePanel() const { return m_panPokec; }
    QLabel* image() const { return m_img; }
    QScrollBar* scrollBar() const { return m_sb; }
    QToolButton* pageButton(PresentationPages::Page page) const;
    QToolButton* webButton() const { return m_sbWeb; }
    QToolButton* mailButton() const { return m_sbMail; }
    QPushButton* closeButton() const { return m_btnClose; }

public slots:
    void sbChange(int position);
    void sbWebClick();
    void sbMailClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void formShow();
    QToolButton* makeButton(const char* name, int top);
    QToolButton* makeLink(const char* name, int top);

    QFrame* m_panPokec = nullptr;
    QLabel* m_img = nullptr;
    QScrollBar* m_sb = nullptr;
    QFrame* m_panButtons = nullptr;
    QButtonGroup* m_group = nullptr;
    QToolButton* m_sbWeb = nullptr;
    QToolButton* m_sbMail = nullptr;
    QPushButton* m_btnClose = nullptr;
    PresentationPages::Page m_page = PresentationPages::Kvelta;
    QString m_shownPath;
    std::function<void(const QUrl&)> m_open;
};

} // namespace kv
