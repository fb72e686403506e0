#pragma once

#include "domain/ProfileLayout.h"
#include "ui/ElidedLabel.h"

#include <QScrollArea>
#include <QUrl>
#include <array>
#include <functional>
#include <vector>

class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QTableWidget;

namespace kv
{

class DataModule;

// The company profile: everything the database holds about the current firm
// of TFirma, as a column of section panels in a scrollable child window.
// The display flags and the data decide which sections show; refresh()
// rebuilds the window after every move of TFirma.
class ProfileWindow : public QScrollArea
{
    Q_OBJECT
public:
    // firmDetailUrl: the maker's firm-detail page; the company number is
    // appended. popup: the main window's pop-up menu (may be null).
    ProfileWindow(DataModule* dm, QMenu* popup, const QString& firmDetailUrl,
                  QWidget* parent = nullptr);
    ~ProfileWindow() override;

    // Follows the current firm: industry list, texts, sections.
    void refresh();
    // Captions, headings and hints in the current language.
    void applyTexts();
    void fillIndustryList();
    ProfileLayout layoutPanels();
    bool loadLogo();
    void markLinks();
    bool fitContactColumns();

    // Opening addresses goes through here, so that a test can watch it.
    void setUrlOpener(std::function<void(const QUrl&)> open) { m_open = std::move(open); }

    QFrame* panel(ProfilePanel p) const { return m_pan[size_t(p)]; }
    QTableWidget* personsGrid() const { return m_grid; }
    QListWidget* industryList() const { return m_industries; }
    ElidedLabel* emailText() const { return m_email; }
    ElidedLabel* webText() const { return m_www; }
    ElidedLabel* webKVText() const { return m_webKV; }
    QLabel* logoImage() const { return m_logo; }
    QPlainTextEdit* noteMemo() const { return m_note; }
    bool gridMailLinks() const { return m_gridMailLinks; }
    bool hintShown() const { return m_hintShown; }
    int hintIndex() const { return m_hintIndex; }

public slots:
    void dBText10Click();
    void dBText11Click();
    void grdOskontaktCellClick(int row, int column);
    void panWebKVClick();

signals:
    // The advertisement link was clicked; the advertisement window serves it.
    void advertisementRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QFrame* makePanel(ProfilePanel p, const char* name);
    QLabel* makeHeading(QWidget* parent, int textId);
    QLabel* makeCaption(QWidget* parent, int textId);
    void buildAdresa();
    void buildKontakty();
    void buildOsoby();
    void buildZatrid();
    void buildLines();
    void fillTexts();
    void fitWidths();
    void lbZatridMouseMove(const QPoint& pos);
    void hideHint();
    bool firmReady() const;
    QString field(const char* name) const;

    DataModule* m_dm;
    QString m_firmDetailUrl;
    std::function<void(const QUrl&)> m_open;
    QWidget* m_content = nullptr;
    std::array<QFrame*, ProfilePanelCount> m_pan{};
    QLabel* m_logo = nullptr;
    QWidget* m_scbAdresa = nullptr;
    QWidget* m_scbKontakty = nullptr;
    std::array<ElidedLabel*, 7> m_address{}; // peno, ico, nazev, ulice, misto, psc, okres
    ElidedLabel* m_tel = nullptr;
    ElidedLabel* m_fax = nullptr;
    ElidedLabel* m_email = nullptr; // DBText10
    ElidedLabel* m_www = nullptr;   // DBText11
    QLabel* m_reklamy = nullptr;
    // Captions and headings with their text ids, for ApplyTexts.
    std::vector<std::pair<QLabel*, int>> m_captions;
    int m_valueLeft = 0; // the value column starts right of the widest caption
    QTableWidget* m_grid = nullptr;
    QListWidget* m_industries = nullptr;
    ElidedLabel* m_webKV = nullptr;
    QPlainTextEdit* m_note = nullptr;
    QLabel* m_hint = nullptr; // HintWindow
    bool m_hintShown = false;
    int m_hintIndex = -1;
    bool m_emailLink = false;
    bool m_webLink = false;
    bool m_gridMailLinks = false;
};

} // namespace kv
