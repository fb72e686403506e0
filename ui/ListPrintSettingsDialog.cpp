#include "ui/ListPrintSettingsDialog.h"

#include "core/StringTable.h"
#include "domain/DataModule.h"

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

ListPrintSettingsDialog::ListPrintSettingsDialog(DataModule& dm, QWidget* parent)
    : PrintSettingsDialog(125, parent), m_dm(dm)
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

ListPrintSettingsDialog::~ListPrintSettingsDialog() = default;

void ListPrintSettingsDialog::applyTexts()
{
    PrintSettingsDialog::applyTexts();
    for (int b = 0; b < BoxCount; ++b)
        m_boxes[size_t(b)]->setText(loadStr(kBoxTexts[b]));
}

Report* ListPrintSettingsDialog::report() const
{
    return m_form ? &m_form->report() : nullptr;
}

void ListPrintSettingsDialog::createReport()
{
    if (!m_dm.printFirms()) // no database open
        return;
    m_firms = std::make_unique<TableCursorSource>(*m_dm.printFirms());
    m_form = std::make_unique<FirmListReport>(*m_firms);
    m_form->notes = &m_dm.notes();
}

void ListPrintSettingsDialog::destroyReport()
{
    m_form.reset();
    m_firms.reset();
}

void ListPrintSettingsDialog::prepareData()
{
    // The current set (selection and exclusions) in the list window's order.
    m_printScope.reset();
    m_printScope.emplace(m_dm);
    m_dm.printFirms()->first();
}

void ListPrintSettingsDialog::copyChoices()
{
    auto& items = m_form->items;
    items[FirmListReport::Tel] = box(Tel)->isChecked();
    items[FirmListReport::Fax] = box(Fax)->isChecked();
    items[FirmListReport::Email] = box(Email)->isChecked();
    items[FirmListReport::Www] = box(WWW)->isChecked();
    items[FirmListReport::Pozn] = box(Pozn)->isChecked();
}

} // namespace kv
