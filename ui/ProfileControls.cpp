#include "ui/ProfileControls.h"

#include "ui/ElidedLabel.h"
#include "ui/IndustryListDelegate.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableWidget>

namespace kv
{

const QColor ProfileControls::Navy(0, 0, 128);
const QColor ProfileControls::Blue(0, 0, 255);

namespace
{

constexpr int RowStep = 18;

ElidedLabel* valueLabel(QWidget* parent, int row, int top, bool bold)
{
    auto l = new ElidedLabel(parent);
    l->move(0, top + row * RowStep);
    ProfileControls::setLook(l, ProfileControls::Navy, bold);
    return l;
}

} // namespace

void ProfileControls::setLook(QLabel* label, const QColor& colour, bool bold)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    QFont f = label->font();
    f.setBold(bold);
    label->setFont(f);
}

ProfileControls::ProfileControls(QWidget* content, QWidget* window, QObject* filter)
    : m_content(content), m_filter(filter)
{
    auto logoPanel = makePanel(PanLogo, "panLogo");
    logoPanel->setAutoFillBackground(true);
    QPalette white = logoPanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    logoPanel->setPalette(white);
    logo = new QLabel(logoPanel);
    logo->setObjectName(QStringLiteral("imgLogo"));
    buildAdresa();
    buildKontakty();
    buildOsoby();
    buildZatrid();
    buildLines();

    hint = new QLabel(window, Qt::ToolTip);
    hint->setWordWrap(true);
    hint->setFrameShape(QFrame::Box);
    hint->setMargin(2);
    hint->setAutoFillBackground(true);
}

QFrame* ProfileControls::makePanel(ProfilePanel p, const char* name)
{
    auto f = new QFrame(m_content);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Raised);
    f->setMouseTracking(true);
    f->installEventFilter(m_filter);
    f->hide();
    pan[size_t(p)] = f;
    return f;
}

QLabel* ProfileControls::makeHeading(QWidget* parent, int textId)
{
    QLabel* l = makeCaption(parent, textId);
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
    l->move(8, 3);
    return l;
}

QLabel* ProfileControls::makeCaption(QWidget* parent, int textId)
{
    auto l = new QLabel(parent);
    captions.emplace_back(l, textId);
    return l;
}

void ProfileControls::buildAdresa()
{
    auto panel = makePanel(PanAdresa, "panAdresa");
    panel->resize(MinPanelWidth, AdresaHeight);
    const int ids[] = {20, 21, 22, 23, 24, 25, 26};
    const int tops[] = {8, 26, 46, 72, 90, 108, 126}; // room for the larger name
    for (int i = 0; i < 7; ++i)
        makeCaption(panel, ids[i])->move(8, tops[i]);
    scbAdresa = new QWidget(panel);
    scbAdresa->setObjectName(QStringLiteral("scbAdresa"));
    scbAdresa->move(ValueLeft, 0);
    for (int i = 0; i < 7; ++i) {
        address[size_t(i)] = valueLabel(scbAdresa, 0, tops[i], i != 0);
        address[size_t(i)]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    QFont big = address[2]->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    address[2]->setFont(big);
    address[2]->move(0, tops[2] - 4);
}

void ProfileControls::buildKontakty()
{
    auto panel = makePanel(PanKontakty, "panKontakty");
    panel->resize(MinPanelWidth, KontaktyHeight);
    makeHeading(panel, 71);
    const int ids[] = {27, 28, 29, 30};
    for (int i = 0; i < 4; ++i)
        makeCaption(panel, ids[i])->move(8, 28 + i * 20);
    scbKontakty = new QWidget(panel);
    scbKontakty->setObjectName(QStringLiteral("scbKontakty"));
    scbKontakty->move(ValueLeft, 28);
    tel = valueLabel(scbKontakty, 0, 0, false);
    fax = valueLabel(scbKontakty, 1, 2, false);
    email = valueLabel(scbKontakty, 2, 4, false);
    email->setObjectName(QStringLiteral("DBText10"));
    www = valueLabel(scbKontakty, 3, 6, false);
    www->setObjectName(QStringLiteral("DBText11"));
    email->installEventFilter(m_filter);
    www->installEventFilter(m_filter);
}

void ProfileControls::buildOsoby()
{
    auto panel = makePanel(PanOsoby, "panOsoby");
    makeHeading(panel, 33);
    grid = new QTableWidget(0, 4, panel);
    grid->setObjectName(QStringLiteral("grdOskontakt"));
    grid->setFrameShape(QFrame::NoFrame);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(16);
    grid->horizontalHeader()->setFixedHeight(18);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setMouseTracking(true);
}

void ProfileControls::buildZatrid()
{
    auto panel = makePanel(PanZatrid, "panZatrid");
    makeHeading(panel, 32);
    industries = new QListWidget(panel);
    industries->setObjectName(QStringLiteral("lbZatrid"));
    industries->setFrameShape(QFrame::NoFrame);
    industries->setItemDelegate(new IndustryListDelegate(industries));
    industries->setUniformItemSizes(true);
    industries->setMouseTracking(true);
    // Over-wide items show their full text in the hint instead.
    industries->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    industries->viewport()->installEventFilter(m_filter);
}

void ProfileControls::buildLines()
{
    auto rek = makePanel(PanReklamy, "panReklamy");
    reklamy = makeCaption(rek, 112);
    reklamy->move(8, 2);
    setLook(reklamy, Blue, true);
    rek->setCursor(Qt::PointingHandCursor);

    auto web = makePanel(PanWebKV, "panWebKV");
    web->setCursor(Qt::PointingHandCursor);
    webKV = new ElidedLabel(web);
    webKV->move(8, 2);
    setLook(webKV, Blue, false);
    QFont f = webKV->font();
    f.setUnderline(true);
    webKV->setFont(f);
    webKV->setAttribute(Qt::WA_TransparentForMouseEvents);
    reklamy->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto pozn = makePanel(PanPozn, "panPozn");
    makeHeading(pozn, 111);
    note = new QPlainTextEdit(pozn);
    note->setObjectName(QStringLiteral("mmPozn"));
    note->setReadOnly(true);
    note->setFrameShape(QFrame::NoFrame);
    note->setLineWrapMode(QPlainTextEdit::NoWrap);
    QPalette pal = note->palette();
    pal.setColor(QPalette::Text, Navy);
    note->setPalette(pal);
}

} // namespace kv
