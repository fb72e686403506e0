#include "ui/ProfileWindow.h"

#include "core/PictureFolder.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "domain/NoteFile.h"
#include "ui/ElidedLabel.h"
#include "ui/IndustryListDelegate.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHeaderView>
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

const QColor Navy(0, 0, 128);
const QColor Blue(0, 0, 255);
constexpr int ValueLeft = 90; // the data texts' scroll boxes start here at least
constexpr int RowStep = 18;
constexpr int Heading = 20; // heading strips above grid, list and memo

void setLook(QLabel* label, const QColor& colour, bool bold)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    QFont f = label->font();
    f.setBold(bold);
    label->setFont(f);
}

ElidedLabel* valueLabel(QWidget* parent, int row, int top, bool bold)
{
    auto l = new ElidedLabel(parent);
    l->move(0, top + row * RowStep);
    setLook(l, Navy, bold);
    return l;
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
    resize(420, 560);

    if (popup) {
        setContextMenuPolicy(Qt::CustomContextMenu);
        connect(this, &QWidget::customContextMenuRequested, this,
                [this, popup](const QPoint& pos) { popup->exec(mapToGlobal(pos)); });
    }

    auto logo = makePanel(PanLogo, "panLogo");
    logo->setAutoFillBackground(true);
    QPalette white = logo->palette();
    white.setColor(QPalette::Window, Qt::white);
    logo->setPalette(white);
    m_logo = new QLabel(logo);
    m_logo->setObjectName(QStringLiteral("imgLogo"));
    buildAdresa();
    buildKontakty();
    buildOsoby();
    buildZatrid();
    buildLines();

    m_hint = new QLabel(this, Qt::ToolTip);
    m_hint->setWordWrap(true);
    m_hint->setFrameShape(QFrame::Box);
    m_hint->setMargin(2);
    m_hint->setAutoFillBackground(true);

    applyTexts();
    fillIndustryList();
    fillTexts();
    layoutPanels();
}

ProfileWindow::~ProfileWindow() = default;

QFrame* ProfileWindow::makePanel(ProfilePanel p, const char* name)
{
    auto f = new QFrame(m_content);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    f->setMouseTracking(true);
    f->installEventFilter(this);
    f->hide();
    m_pan[size_t(p)] = f;
    return f;
}

QLabel* ProfileWindow::makeHeading(QWidget* parent, int textId)
{
    QLabel* l = makeCaption(parent, textId);
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
    l->move(8, 3);
    return l;
}

QLabel* ProfileWindow::makeCaption(QWidget* parent, int textId)
{
    auto l = new QLabel(parent);
    m_captions.emplace_back(l, textId);
    return l;
}

void ProfileWindow::buildAdresa()
{
    auto pan = makePanel(PanAdresa, "panAdresa");
    pan->resize(MinPanelWidth, AdresaHeight);
    const int ids[] = {20, 21, 22, 23, 24, 25, 26};
    const int tops[] = {8, 26, 46, 72, 90, 108, 126}; // room for the larger name
    for (int i = 0; i < 7; ++i)
        makeCaption(pan, ids[i])->move(8, tops[i]);
    m_scbAdresa = new QWidget(pan);
    m_scbAdresa->setObjectName(QStringLiteral("scbAdresa"));
    m_scbAdresa->move(ValueLeft, 0);
    for (int i = 0; i < 7; ++i) {
        m_address[size_t(i)] = valueLabel(m_scbAdresa, 0, tops[i], i != 0);
        m_address[size_t(i)]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    QFont big = m_address[2]->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    m_address[2]->setFont(big);
    m_address[2]->move(0, tops[2] - 4);
}

void ProfileWindow::buildKontakty()
{
    auto pan = makePanel(PanKontakty, "panKontakty");
    pan->resize(MinPanelWidth, KontaktyHeight);
    makeHeading(pan, 71);
    const int ids[] = {27, 28, 29, 30};
    for (int i = 0; i < 4; ++i)
        makeCaption(pan, ids[i])->move(8, 28 + i * 20);
    m_scbKontakty = new QWidget(pan);
    m_scbKontakty->setObjectName(QStringLiteral("scbKontakty"));
    m_scbKontakty->move(ValueLeft, 28);
    m_tel = valueLabel(m_scbKontakty, 0, 0, false);
    m_fax = valueLabel(m_scbKontakty, 1, 2, false);
    m_email = valueLabel(m_scbKontakty, 2, 4, false);
    m_email->setObjectName(QStringLiteral("DBText10"));
    m_www = valueLabel(m_scbKontakty, 3, 6, false);
    m_www->setObjectName(QStringLiteral("DBText11"));
    m_email->installEventFilter(this);
    m_www->installEventFilter(this);
}

void ProfileWindow::buildOsoby()
{
    auto pan = makePanel(PanOsoby, "panOsoby");
    makeHeading(pan, 33);
    m_grid = new QTableWidget(0, 4, pan);
    m_grid->setObjectName(QStringLiteral("grdOskontakt"));
    m_grid->setFrameShape(QFrame::NoFrame);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->setFocusPolicy(Qt::NoFocus);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(16);
    m_grid->horizontalHeader()->setFixedHeight(18);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->setMouseTracking(true);
    connect(m_grid, &QTableWidget::cellClicked, this, &ProfileWindow::grdOskontaktCellClick);
}

void ProfileWindow::buildZatrid()
{
    auto pan = makePanel(PanZatrid, "panZatrid");
    makeHeading(pan, 32);
    m_industries = new QListWidget(pan);
    m_industries->setObjectName(QStringLiteral("lbZatrid"));
    m_industries->setFrameShape(QFrame::NoFrame);
    m_industries->setItemDelegate(new IndustryListDelegate(m_industries));
    m_industries->setUniformItemSizes(true);
    m_industries->setMouseTracking(true);
    // Over-wide items show their full text in the hint instead.
    m_industries->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_industries->viewport()->installEventFilter(this);
}

void ProfileWindow::buildLines()
{
    auto rek = makePanel(PanReklamy, "panReklamy");
    m_reklamy = makeCaption(rek, 112);
    m_reklamy->move(8, 2);
    setLook(m_reklamy, Blue, true);
    rek->setCursor(Qt::PointingHandCursor);

    auto web = makePanel(PanWebKV, "panWebKV");
    web->setCursor(Qt::PointingHandCursor);
    m_webKV = new ElidedLabel(web);
    m_webKV->move(8, 2);
    setLook(m_webKV, Blue, false);
    QFont f = m_webKV->font();
    f.setUnderline(true);
    m_webKV->setFont(f);
    m_webKV->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_reklamy->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto pozn = makePanel(PanPozn, "panPozn");
    makeHeading(pozn, 111);
    m_note = new QPlainTextEdit(pozn);
    m_note->setObjectName(QStringLiteral("mmPozn"));
    m_note->setReadOnly(true);
    m_note->setFrameShape(QFrame::NoFrame);
    m_note->setLineWrapMode(QPlainTextEdit::NoWrap);
    QPalette pal = m_note->palette();
    pal.setColor(QPalette::Text, Navy);
    m_note->setPalette(pal);
}

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
        m_address[i]->setFullText(field(names[i]));
    for (auto [label, name] : {std::pair{m_tel, "tel"}, std::pair{m_fax, "fax"},
                               std::pair{m_email, "email"}, std::pair{m_www, "www"}})
        label->setFullText(field(name));
    m_webKV->setFullText(loadStr(222) + field("nazev") + loadStr(223));
}

void ProfileWindow::applyTexts()
{
    setWindowTitle(loadStr(12));
    int widest = 0;
    for (auto [label, id] : m_captions) {
        label->setText(loadStr(id));
        label->adjustSize();
        if (label->parentWidget() == m_pan[PanAdresa] ||
            (label->parentWidget() == m_pan[PanKontakty] && label->y() > 20))
            widest = std::max(widest, label->width());
    }
    m_valueLeft = std::max(ValueLeft, 8 + widest + 8);
    m_scbAdresa->move(m_valueLeft, m_scbAdresa->y());
    m_scbKontakty->move(m_valueLeft, m_scbKontakty->y());
    m_grid->setHorizontalHeaderLabels({loadStr(31), loadStr(27), loadStr(28), loadStr(29)});
    m_pan[PanWebKV]->setToolTip(loadStr(244));
    fillTexts();
}

void ProfileWindow::fillIndustryList()
{
    m_industries->clear();
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
            m_industries->addItem(pz->rowAt(p).text(QStringLiteral("txt")));
        return;
    }
    // The activity lines follow their industry's row, so walk the industries.
    const int back = pz->position();
    pz->suspendViews();
    for (pz->first(); !pz->eof(); pz->next()) {
        m_industries->addItem(pz->text(QStringLiteral("txt")));
        for (int p = 1; p <= lines->recordCount(); ++p)
            m_industries->addItem(lines->rowAt(p).text(QStringLiteral("radek")));
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
    m_logo->setPixmap(pm);
    m_logo->resize(pm.size());
    return true;
}

void ProfileWindow::markLinks()
{
    m_emailLink = emailIsLink(field("email"));
    m_webLink = webIsLink(field("link"), field("www"));
    for (auto [label, on] : {std::pair{m_email, m_emailLink}, std::pair{m_www, m_webLink}}) {
        setLook(label, on ? Blue : Navy, on);
        label->setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
}

bool ProfileWindow::fitContactColumns()
{
    engine::TableCursor* persons = m_dm ? m_dm->persons() : nullptr;
    const int count = persons && persons->isOpen() && firmReady() ? persons->recordCount() : 0;
    m_gridMailLinks = field("link") == QLatin1String("A");
    QFont mailFont = m_grid->font();
    mailFont.setBold(m_gridMailLinks);
    const QFontMetrics fm(m_grid->font());
    const QFontMetrics mailFm(mailFont); // link addresses are bold and wider
    const char* names[] = {"osoba", "tel", "fax", "email"};
    std::array<int, 4> titles{};
    std::array<int, 4> widest{};
    for (int c = 0; c < 4; ++c)
        titles[size_t(c)] = fm.horizontalAdvance(m_grid->horizontalHeaderItem(c)->text()) + 10;
    m_grid->setRowCount(count);
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
            m_grid->setItem(r, c, item);
        }
    }
    const ContactColumns cols = fitColumns(titles, widest);
    for (int c = 0; c < 4; ++c) {
        m_grid->setColumnHidden(c, !cols.visible(c));
        if (cols.visible(c))
            m_grid->setColumnWidth(c, cols.widths[size_t(c)]);
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
        content.logoHeight = m_logo->height();
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
        content.personCount = m_grid->rowCount();
    }
    if (nast[NastZatrid] && firmReady() && m_dm->firmIndustries() &&
        m_dm->firmIndustries()->isOpen())
        content.industryRows = m_dm->firmIndustries()->recordCount();
    if (nast[NastPozn] && firmReady()) {
        const qint64 peno = m_dm->firms()->int64(QStringLiteral("peno"));
        if (NoteFile::exists(peno)) {
            const QStringList lines = NoteFile::lines(peno);
            m_note->setPlainText(lines.join(QLatin1Char('\n')));
            content.noteExists = true;
            content.noteLines = int(lines.size());
        }
    }

    const ProfileLayout layout = kv::layoutPanels(nast, content);
    // From the window's own size, which is right even before the first
    // show; leave room for the vertical scroll bar when it will be needed.
    QSize room = maximumViewportSize();
    if (layout.totalHeight > room.height())
        room.rwidth() -= verticalScrollBar()->sizeHint().width();
    const int w = panelWidth(room.width());
    for (int p = 0; p < ProfilePanelCount; ++p) {
        const PanelPlace& place = layout.panels[size_t(p)];
        QFrame* pan = m_pan[size_t(p)];
        pan->setVisible(place.visible);
        if (place.visible)
            pan->setGeometry(0, place.top, w, place.height);
    }
    m_logo->move(w / 2 - m_logo->width() / 2, 8);
    fitWidths();
    m_content->resize(w, layout.totalHeight);
    verticalScrollBar()->setValue(scroll);
    return layout;
}

void ProfileWindow::fitWidths()
{
    const int w = m_pan[PanAdresa]->width();
    m_scbAdresa->resize(w - m_valueLeft - 10, AdresaHeight);
    m_scbKontakty->resize(w - m_valueLeft - 10, KontaktyHeight - 28);
    // Each value takes the width left to it; a longer one ends in "…".
    for (ElidedLabel* l : m_address)
        l->resize(m_scbAdresa->width(), l->sizeHint().height());
    for (ElidedLabel* l : {m_tel, m_fax, m_email, m_www})
        l->resize(m_scbKontakty->width(), l->sizeHint().height());
    m_webKV->resize(m_pan[PanWebKV]->width() - 16, m_webKV->sizeHint().height());
    for (ProfilePanel p : {PanOsoby, PanZatrid, PanPozn}) {
        QFrame* pan = m_pan[size_t(p)];
        QWidget* inner = p == PanOsoby    ? static_cast<QWidget*>(m_grid)
                         : p == PanZatrid ? static_cast<QWidget*>(m_industries)
                                          : static_cast<QWidget*>(m_note);
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
    QTableWidgetItem* item = m_grid->item(row, column);
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
        if (watched == m_email)
            dBText10Click();
        else if (watched == m_www)
            dBText11Click();
        else if (watched == m_pan[PanReklamy])
            emit advertisementRequested();
        else if (watched == m_pan[PanWebKV])
            panWebKVClick();
    } else if (event->type() == QEvent::MouseMove) {
        auto pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (watched == m_industries->viewport())
            lbZatridMouseMove(pos);
        else
            hideHint();
    } else if (event->type() == QEvent::Leave && watched == m_industries->viewport()) {
        hideHint();
    }
    return QScrollArea::eventFilter(watched, event);
}

void ProfileWindow::lbZatridMouseMove(const QPoint& pos)
{
    QListWidgetItem* item = m_industries->itemAt(pos);
    const int i = item ? m_industries->row(item) : -1;
    const QString text = item ? item->text() : QString();
    const QFontMetrics fm(m_industries->font());
    const int width = fm.horizontalAdvance(IndustryListDelegate::shownText(text)) +
                      IndustryListDelegate::textOffset(text);
    if (!item || width <= m_industries->width() - 28) {
        hideHint();
        return;
    }
    if (i == m_hintIndex && m_hintShown)
        return;
    hideHint();
    m_hint->setText(IndustryListDelegate::shownText(text));
    m_hint->setMaximumWidth(width + 10 > this->width() ? this->width() : width + 10);
    m_hint->adjustSize();
    // Below the item, starting at the window's left edge.
    const QRect r = m_industries->visualItemRect(item);
    const QPoint at = m_industries->viewport()->mapToGlobal(QPoint(0, r.bottom() + 2));
    m_hint->move(mapToGlobal(QPoint(0, 0)).x(), at.y());
    m_hint->show();
    m_hintShown = true;
    m_hintIndex = i;
}

void ProfileWindow::hideHint()
{
    if (m_hintShown)
        m_hint->hide();
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
