#include "printing/TFSetSeznam.h"

#include "app/core/StringTable.h"
#include "data/TDM.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace kv
{

namespace
{
constexpr int kBoxTexts[] = {122, 27, 28, 29, 30, 111};
constexpr const char* kBoxNames[] = {"cbNazevadr", "cbTel", "cbFax", "cbEmail", "cbWWW", "cbPozn"};
} // namespace

TFSetSeznam::TFSetSeznam(TDM& dm, QWidget* parent) : PrintSettingsDialog(125, parent), m_dm(dm)
{
    setObjectName(QStringLiteral("FSetSeznam"));
    auto group = new QGroupBox(this);
    auto column = new QVBoxLayout(group);
    for (int b = 0; b < BoxCount; ++b) {
        m_boxes[size_t(b)] = new QCheckBox(group);
        m_boxes[size_t(b)]->setObjectName(QLatin1String(kBoxNames[b]));
        column->addWidget(m_boxes[size_t(b)]);
    }
    column->addStretch();
    // The name and address line is always printed.
    box(Nazevadr)->setChecked(true);
    box(Nazevadr)->setEnabled(false);
    body()->addWidget(group);
    applyTexts();
    setFixedSize(292, 190);
}

TFSetSeznam::~TFSetSeznam() = default;

void TFSetSeznam::applyTexts()
{
    PrintSettingsDialog::applyTexts();
    for (int b = 0; b < BoxCount; ++b)
        m_boxes[size_t(b)]->setText(LoadStr(kBoxTexts[b]));
}

Report* TFSetSeznam::report() const
{
    return m_form ? &m_form->report() : nullptr;
}

void TFSetSeznam::createReport()
{
    if (!m_dm.TPrn) // no database open
        return;
    m_firms = std::make_unique<TableCursorSource>(*m_dm.TPrn);
    m_form = std::make_unique<TFPrintSeznam>(*m_firms);
}

void TFSetSeznam::destroyReport()
{
    m_form.reset();
    m_firms.reset();
}

void TFSetSeznam::prepareData()
{
    // The current set (selection and exclusions) in the list window's order.
    m_dm.closePrn();
    m_dm.openPrn();
    m_dm.TPrn->first();
}

void TFSetSeznam::copyChoices()
{
    auto& items = m_form->items;
    items[TFPrintSeznam::Tel] = box(Tel)->isChecked();
    items[TFPrintSeznam::Fax] = box(Fax)->isChecked();
    items[TFPrintSeznam::Email] = box(Email)->isChecked();
    items[TFPrintSeznam::Www] = box(WWW)->isChecked();
    items[TFPrintSeznam::Pozn] = box(Pozn)->isChecked();
}

} // namespace kv
