#pragma once

#include "domain/ProfileLayout.h"
#include "ui/ElidedLabel.h"
#include "ui/ProfileControls.h"

#include <QScrollArea>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>
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

    QFrame* panel(ProfilePanel p) const { return m_ui->pan[size_t(p)]; }
    QTableWidget* personsGrid() const { return m_ui->grid; }
    QListWidget* industryList() const { return m_ui->industries; }
    ElidedLabel* emailText() const { return m_ui->email; }
    ElidedLabel* webText() const { return m_ui->www; }
    ElidedLabel* webKVText() const { return m_ui->webKV; }
    QLabel* logoImage() const { return m_ui->logo; }
    QPlainTextEdit* noteMemo() const { return m_ui->note; }
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
    void fillTexts();
    void fillNotes(qint64 peno, ProfileContent& content);
    void fitWidths();
    void lbZatridMouseMove(const QPoint& pos);
    void hideHint();
    bool firmReady() const;
    QString field(const char* name) const;

    DataModule* m_dm;
    QString m_firmDetailUrl;
    std::function<void(const QUrl&)> m_open;
    QWidget* m_content = nullptr;
    std::unique_ptr<ProfileControls> m_ui;
    int m_valueLeft = 0; // the value column starts right of the widest caption
    bool m_hintShown = false;
    int m_hintIndex = -1;
    bool m_emailLink = false;
    bool m_webLink = false;
    bool m_gridMailLinks = false;
};

} // namespace kv
