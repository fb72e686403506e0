#include "ui/ProfileWindow.h"

#include "core/Error.h"
#include "core/PictureFolder.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "domain/NoteFile.h"
#include "domain/NoteStore.h"
#include "ui/ElidedLabel.h"
#include "ui/IndustryListDelegate.h"
#include "ui/ProfileControls.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableWidget>

namespace kv
{

namespace
{

const QColor& Navy = ProfileControls::Navy;
const QColor& Blue = ProfileControls::Blue;
constexpr int ValueLeft = ProfileControls::ValueLeft;
constexpr int Heading = ProfileControls::Heading;

void setLook(QLabel* label, const QColor& colour, bool bold)
{
    ProfileControls::setLook(label, colour, bold);
}

} // namespace

ProfileWindow::ProfileWindow(DataModule* dm, QMenu* popup, const QString& firmDetailUrl,
                             QWidget* parent)
    : QScrollArea(parent), m_dm(dm), m_firmDetailUrl(firmDetailUrl),
      m_open([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("FProfil"));
    setWindowTitle(loadStr(12));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    m_content = new QWidget;
    m_content->setMouseTracking(true);
    m_content->installEventFilter(this);
    setWidget(m_content);
    m_ui = std::make_unique<ProfileControls>(m_content, this, this);
    connect(m_ui->grid, &QTableWidget::cellClicked, this, &ProfileWindow::grdOskontaktCellClick);
    resize(420, 560);

    if (popup) {
        setContextMenuPolicy(Qt::CustomContextMenu);
        connect(this, &QWidget::customContextMenuRequested, this,
                [this, popup](const QPoint& pos) { popup->exec(mapToGlobal(pos)); });
    }

    applyTexts();
    fillIndustryList();
    fillTexts();
    layoutPanels();
}

ProfileWindow::~ProfileWindow() = default;

bool ProfileWindow::firmReady() const
{
    return m_dm && m_dm->firms() && m_dm->firms()->isOpen() && !m_dm->firms()->isEmpty();
}

QString ProfileWindow::field(const char* name) const
{
    return firmReady() ? m_dm->firms()->text(QLatin1String(name)) : QString();
}

void ProfileWindow::refresh()
{
    hideHint();
    fillIndustryList();
    fillTexts();
    layoutPanels();
    m_content->update();
}

void ProfileWindow::fillTexts()
{
    const char* names[] = {"peno", "ico", "nazev", "ulice", "misto", "psc", "okres"};
    for (size_t i = 0; i < 7; ++i)
        m_ui->address[i]->setFullText(field(names[i]));
    for (auto [label, name] : {std::pair{m_ui->tel, "tel"}, std::pair{m_ui->fax, "fax"},
                               std::pair{m_ui->email, "email"}, std::pair{m_ui->www, "www"}})
        label->setFullText(field(name));
    m_ui->webKV->setFullText(loadStr(222) + field("nazev") + loadStr(223));
}

void ProfileWindow::applyTexts()
{
    setWindowTitle(loadStr(12));
    int widest = 0;
    for (auto [label, id] : m_ui->captions) {
        label->setText(loadStr(id));
        label->adjustSize();
        if (label->parentWidget() == m_ui->pan[PanAdresa] ||
            (label->parentWidget() == m_ui->pan[PanKontakty] && label->y() > 20))
            widest = std::max(widest, label->width());
    }
    m_valueLeft = std::max(ValueLeft, 8 + widest + 8);
    m_ui->scbAdresa->move(m_valueLeft, m_ui->scbAdresa->y());
    m_ui->scbKontakty->move(m_valueLeft, m_ui->scbKontakty->y());
    m_ui->grid->setHorizontalHeaderLabels({loadStr(31), loadStr(27), loadStr(28), loadStr(29)});
    m_ui->pan[PanWebKV]->setToolTip(loadStr(244));
    fillTexts();
}

void ProfileWindow::fillIndustryList()
{
    m_ui->industries->clear();
    const auto& nast = settings().nast;
    if (!nast[NastZatrid] || !firmReady())
        return;
    engine::TableCursor* pz = m_dm->firmIndustries();
    if (!pz || !pz->isOpen())
        return;
    engine::TableCursor* lines = nast[NastRadky] ? m_dm->industryLines() : nullptr;
    if (lines && !lines->isOpen())
        lines = nullptr;
    if (!lines) {
        for (int p = 1; p <= pz->recordCount(); ++p)
            m_ui->industries->addItem(pz->rowAt(p).text(QStringLiteral("txt")));
        return;
    }
    // The activity lines follow their industry's row, so walk the industries.
    const int back = pz->position();
    pz->suspendViews();
    for (pz->first(); !pz->eof(); pz->next()) {
        m_ui->industries->addItem(pz->text(QStringLiteral("txt")));
        for (int p = 1; p <= lines->recordCount(); ++p)
            m_ui->industries->addItem(lines->rowAt(p).text(QStringLiteral("radek")));
    }
    pz->setPosition(back);
    pz->resumeViews();
}

bool ProfileWindow::loadLogo()
{
    const QString name = field("logo");
    if (name.isEmpty())
        return false;
    const QString path = PictureFolder::resolve(QStringLiteral("Log"), name);
    QPixmap pm;
    if (path.isEmpty() || !pm.load(path))
        return false;
    m_ui->logo->setPixmap(pm);
    m_ui->logo->resize(pm.size());
    return true;
}

void ProfileWindow::markLinks()
{
    m_emailLink = emailIsLink(field("email"));
    m_webLink = webIsLink(field("link"), field("www"));
    for (auto [label, on] :
         {std::pair{m_ui->email, m_emailLink}, std::pair{m_ui->www, m_webLink}}) {
        setLook(label, on ? Blue : Navy, on);
        label->setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
}

bool ProfileWindow::fitContactColumns()
{
    engine::TableCursor* persons = m_dm ? m_dm->persons() : nullptr;
    const int count = persons && persons->isOpen() && firmReady() ? persons->recordCount() : 0;
    m_gridMailLinks = field("link") == QLatin1String("A");
    QFont mailFont = m_ui->grid->font();
    mailFont.setBold(m_gridMailLinks);
    const QFontMetrics fm(m_ui->grid->font());
    const QFontMetrics mailFm(mailFont); // link addresses are bold and wider
    const char* names[] = {"osoba", "tel", "fax", "email"};
    std::array<int, 4> titles{};
    std::array<int, 4> widest{};
    for (int c = 0; c < 4; ++c)
        titles[size_t(c)] = fm.horizontalAdvance(m_ui->grid->horizontalHeaderItem(c)->text()) + 10;
    m_ui->grid->setRowCount(count);
    for (int r = 0; r < count; ++r) {
        const engine::Record row = persons->rowAt(r + 1);
        for (int c = 0; c < 4; ++c) {
            const QString t = row.text(QLatin1String(names[c]));
            const int tw = t.isEmpty() ? 0 : (c == 3 ? mailFm : fm).horizontalAdvance(t);
            widest[size_t(c)] = std::max(widest[size_t(c)], tw);
            auto item = new QTableWidgetItem(t);
            item->setForeground(c == 3 && m_gridMailLinks ? Blue : Navy);
            if (c == 3)
                item->setFont(mailFont);
            m_ui->grid->setItem(r, c, item);
        }
    }
    const ContactColumns cols = fitColumns(titles, widest);
    for (int c = 0; c < 4; ++c) {
        m_ui->grid->setColumnHidden(c, !cols.visible(c));
        if (cols.visible(c))
            m_ui->grid->setColumnWidth(c, cols.widths[size_t(c)]);
    }
    return cols.anyText;
}

ProfileLayout ProfileWindow::layoutPanels()
{
    const int scroll = verticalScrollBar()->value();
    verticalScrollBar()->setValue(0);

    const auto& nast = settings().nast;
    ProfileContent content;
    if (nast[NastLogo] && loadLogo()) {
        content.logoLoaded = true;
        content.logoHeight = m_ui->logo->height();
    }
    if (nast[NastReklamy] && firmReady() && m_dm->advertisements() &&
        m_dm->advertisements()->isOpen() && !m_dm->advertisements()->isEmpty()) {
        const QString txt = m_dm->advertisements()->text(QStringLiteral("txt"));
        content.advertisementExists = !PictureFolder::resolve(QStringLiteral("RK"), txt).isEmpty();
    }
    if (nast[NastKontakty])
        markLinks();
    if (nast[NastOsoby]) {
        content.personsHaveText = fitContactColumns();
        content.personCount = m_ui->grid->rowCount();
    }
    if (nast[NastZatrid] && firmReady() && m_dm->firmIndustries() &&
        m_dm->firmIndustries()->isOpen())
        content.industryRows = m_dm->firmIndustries()->recordCount();
    if (nast[NastPozn] && firmReady())
        fillNotes(m_dm->firms()->int64(QStringLiteral("peno")), content);

    const ProfileLayout layout = kv::layoutPanels(nast, content);
    // From the window's own size, which is right even before the first
    // show; leave room for the vertical scroll bar when it will be needed.
    QSize room = maximumViewportSize();
    if (layout.totalHeight > room.height())
        room.rwidth() -= verticalScrollBar()->sizeHint().width();
    const int w = panelWidth(room.width());
    for (int p = 0; p < ProfilePanelCount; ++p) {
        const PanelPlace& place = layout.panels[size_t(p)];
        QFrame* pan = m_ui->pan[size_t(p)];
        pan->setVisible(place.visible);
        if (place.visible)
            pan->setGeometry(0, place.top, w, place.height);
    }
    m_ui->logo->move(w / 2 - m_ui->logo->width() / 2, 8);
    fitWidths();
    m_content->resize(w, layout.totalHeight);
    verticalScrollBar()->setValue(scroll);
    return layout;
}

void ProfileWindow::fillNotes(qint64 peno, ProfileContent& content)
{
    NoteStore& notes = m_dm->notes();
    QStringList lines;
    if (!notes.shared()) {
        if (!NoteFile::exists(peno))
            return;
        lines = NoteFile::lines(peno);
    } else {
        // Every colleague's note with its author and time; a server that
        // cannot be asked says so here rather than in a box at every move.
        try {
            lines = NoteStore::listing(notes.all(peno));
        } catch (const Error& e) {
            if (!e.is(Error::Kind::Engine))
                throw;
            lines = QStringList{loadStr(256)} + e.message().split(QLatin1Char('\n'));
        }
        if (lines.isEmpty())
            return;
    }
    m_ui->note->setPlainText(lines.join(QLatin1Char('\n')));
    content.noteExists = true;
    content.noteLines = int(lines.size());
}

void ProfileWindow::fitWidths()
{
    const int w = m_ui->pan[PanAdresa]->width();
    m_ui->scbAdresa->resize(w - m_valueLeft - 10, AdresaHeight);
    m_ui->scbKontakty->resize(w - m_valueLeft - 10, KontaktyHeight - 28);
    // Each value takes the width left to it; a longer one ends in "…".
    for (ElidedLabel* l : m_ui->address)
        l->resize(m_ui->scbAdresa->width(), l->sizeHint().height());
    for (ElidedLabel* l : {m_ui->tel, m_ui->fax, m_ui->email, m_ui->www})
        l->resize(m_ui->scbKontakty->width(), l->sizeHint().height());
    m_ui->webKV->resize(m_ui->pan[PanWebKV]->width() - 16, m_ui->webKV->sizeHint().height());
    for (ProfilePanel p : {PanOsoby, PanZatrid, PanPozn}) {
        QFrame* pan = m_ui->pan[size_t(p)];
        QWidget* inner = p == PanOsoby    ? static_cast<QWidget*>(m_ui->grid)
                         : p == PanZatrid ? static_cast<QWidget*>(m_ui->industries)
                                          : static_cast<QWidget*>(m_ui->note);
        inner->setGeometry(2, Heading, pan->width() - 4, pan->height() - Heading - 2);
    }
}

void ProfileWindow::dBText10Click()
{
    if (m_emailLink)
        m_open(QUrl(mailUrl(field("email"))));
}

void ProfileWindow::dBText11Click()
{
    if (m_webLink)
        m_open(QUrl(webUrl(field("www"))));
}

void ProfileWindow::grdOskontaktCellClick(int row, int column)
{
    QTableWidgetItem* item = m_ui->grid->item(row, column);
    if (!item || item->text().isEmpty() || !m_gridMailLinks || column != 3)
        return;
    m_open(QUrl(mailUrl(item->text())));
}

void ProfileWindow::panWebKVClick()
{
    if (firmReady())
        m_open(QUrl(firmDetailUrl(m_firmDetailUrl, m_dm->firms()->int64(QStringLiteral("peno")))));
}

bool ProfileWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == m_ui->email)
            dBText10Click();
        else if (watched == m_ui->www)
            dBText11Click();
        else if (watched == m_ui->pan[PanReklamy])
            emit advertisementRequested();
        else if (watched == m_ui->pan[PanWebKV])
            panWebKVClick();
    } else if (event->type() == QEvent::MouseMove) {
        auto pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (watched == m_ui->industries->viewport())
            lbZatridMouseMove(pos);
        else
            hideHint();
    } else if (event->type() == QEvent::Leave && watched == m_ui->industries->viewport()) {
        hideHint();
    }
    return QScrollArea::eventFilter(watched, event);
}

void ProfileWindow::lbZatridMouseMove(const QPoint& pos)
{
    QListWidgetItem* item = m_ui->industries->itemAt(pos);
    const int i = item ? m_ui->industries->row(item) : -1;
    const QString text = item ? item->text() : QString();
    const QFontMetrics fm(m_ui->industries->font());
    const int width = fm.horizontalAdvance(IndustryListDelegate::shownText(text)) +
                      IndustryListDelegate::textOffset(text);
    if (!item || width <= m_ui->industries->width() - 28) {
        hideHint();
        return;
    }
    if (i == m_hintIndex && m_hintShown)
        return;
    hideHint();
    m_ui->hint->setText(IndustryListDelegate::shownText(text));
    m_ui->hint->setMaximumWidth(width + 10 > this->width() ? this->width() : width + 10);
    m_ui->hint->adjustSize();
    // Below the item, starting at the window's left edge.
    const QRect r = m_ui->industries->visualItemRect(item);
    const QPoint at = m_ui->industries->viewport()->mapToGlobal(QPoint(0, r.bottom() + 2));
    m_ui->hint->move(mapToGlobal(QPoint(0, 0)).x(), at.y());
    m_ui->hint->show();
    m_hintShown = true;
    m_hintIndex = i;
}

void ProfileWindow::hideHint()
{
    if (m_hintShown)
        m_ui->hint->hide();
    m_hintShown = false;
    m_hintIndex = -1;
}

void ProfileWindow::showEvent(QShowEvent* event)
{
    QScrollArea::showEvent(event);
    layoutPanels();
    verticalScrollBar()->setValue(0);
    m_hintShown = false;
}

void ProfileWindow::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    layoutPanels();
    verticalScrollBar()->setValue(0);
}

void ProfileWindow::changeEvent(QEvent* event)
{
    QScrollArea::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        applyTexts();
        layoutPanels();
    }
}

void ProfileWindow::hideEvent(QHideEvent* event)
{
    hideHint();
    QScrollArea::hideEvent(event);
}

} // namespace kv
