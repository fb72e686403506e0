#include "ui/DisplaySettingsDialog.h"

#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "ui/BusyCursor.h"
#include "ui/FixedDialog.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv
{

namespace
{

struct BoxInfo {
    int textId;
    NastEntry flag;
};

// In the order of DisplaySettingsDialog::Box.
constexpr BoxInfo Boxes[] = {
    {69, NastLogo},   {70, NastAdresa}, {112, NastReklamy}, {71, NastKontakty}, {33, NastOsoby},
    {32, NastZatrid}, {221, NastRadky}, {111, NastPozn},    {22, NastNazev},    {23, NastUlice},
    {24, NastMisto},  {25, NastPsc},    {26, NastOkres},
};

QLabel* heading(QWidget* parent)
{
    auto l = new QLabel(parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

DisplaySettingsDialog::DisplaySettingsDialog(DataModule* dm, QWidget* parent)
    : QDialog(parent), m_dm(dm)
{
    setUpFixedDialog(this, "FNastaveni");
    const OkCancelButtons okCancel = makeOkCancel(this);
    m_ok = okCancel.ok;
    m_cancel = okCancel.cancel;

    auto group = [this](QLabel*& headingOut, int from, int to) {
        auto bevel = new QFrame(this);
        bevel->setFrameShape(QFrame::StyledPanel);
        auto col = new QVBoxLayout(bevel);
        col->setSpacing(4);
        headingOut = heading(bevel);
        col->addWidget(headingOut);
        for (int b = from; b < to; ++b) {
            auto cb = new QCheckBox(bevel);
            cb->setMinimumHeight(20); // boxes 24 pixels apart
            m_boxes[size_t(b)] = cb;
            col->addWidget(cb);
        }
        col->addStretch();
        return bevel;
    };
    auto profile = group(m_profileHeading, Logo, Nazev);
    auto list = group(m_listHeading, Nazev, BoxCount);
    m_profileHeading->setObjectName(QStringLiteral("lNastprofil"));
    m_listHeading->setObjectName(QStringLiteral("lNastseznam"));
    box(Nazev)->setEnabled(false); // the name is always in the list line
    connect(box(Zatrid), &QCheckBox::clicked, this, &DisplaySettingsDialog::cbZatridClick);

    auto groups = new QHBoxLayout;
    groups->addWidget(profile);
    groups->addWidget(list);
    auto buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addSpacing(16);
    buttons->addWidget(m_cancel);
    buttons->addSpacing(20);
    auto all = new QVBoxLayout(this);
    all->addLayout(groups);
    all->addLayout(buttons);

    QWidget* previous = m_ok;
    for (QCheckBox* cb : m_boxes) {
        setTabOrder(previous, cb);
        previous = cb;
    }
    setTabOrder(previous, m_cancel);
    applyTexts();
    resize(415, 317);
}

void DisplaySettingsDialog::applyTexts()
{
    setWindowTitle(loadStr(102));
    m_profileHeading->setText(loadStr(65));
    m_listHeading->setText(loadStr(66));
    for (int b = 0; b < BoxCount; ++b)
        m_boxes[size_t(b)]->setText(loadStr(Boxes[b].textId));
    m_ok->setText(loadStr(67));
    m_cancel->setText(loadStr(235));
}

void DisplaySettingsDialog::loadFlags()
{
    const auto& nast = settings().nast;
    for (int b = 0; b < BoxCount; ++b)
        m_boxes[size_t(b)]->setChecked(nast[Boxes[b].flag]);
    box(Nazev)->setChecked(true);
    box(Radky)->setEnabled(box(Zatrid)->isChecked());
}

void DisplaySettingsDialog::showEvent(QShowEvent* event)
{
    m_accepted = false;
    applyTexts();
    loadFlags();
    QDialog::showEvent(event);
}

void DisplaySettingsDialog::cbZatridClick(bool ticked)
{
    // Key words are shown only together with the classification.
    if (!ticked)
        box(Radky)->setChecked(false);
    box(Radky)->setEnabled(ticked);
}

void DisplaySettingsDialog::accept()
{
    m_accepted = true;
    {
        BusyCursor busy;
        auto& nast = settings().nast;
        for (int b = 0; b < BoxCount; ++b)
            nast[Boxes[b].flag] = m_boxes[size_t(b)]->isChecked();
        nast[NastNazev] = true;
        nast[NastWeb] = true;
        // Closes and reopens the optional tables and the company set; the move
        // to the first firm rebuilds the list lines and the profile.
        if (m_dm && m_dm->ready())
            m_dm->reopenAfterSettings();
    }
    QDialog::accept();
}

void DisplaySettingsDialog::reject()
{
    m_accepted = false;
    QDialog::reject();
}

} // namespace kv
