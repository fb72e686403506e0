#include "ui/ProfilePrintSettingsDialog.h"

#include "core/StringTable.h"
#include "domain/DataModule.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv
{

ProfilePrintSettingsDialog::ProfilePrintSettingsDialog(DataModule& dm, QWidget* parent)
    : PrintSettingsDialog(146, parent), m_dm(dm)
{
    setObjectName(QStringLiteral("FSetProfil"));
    m_group = new QGroupBox(this);
    m_group->setObjectName(QStringLiteral("rgTiskco"));
    new QVBoxLayout(m_group);
    body()->addWidget(m_group);
    applyTexts();
    setFixedSize(379, 146);
}

ProfilePrintSettingsDialog::~ProfilePrintSettingsDialog() = default;

QString ProfilePrintSettingsDialog::currentFirmFilter(qint64 peno)
{
    return QStringLiteral("peno=") + QString::number(peno);
}

void ProfilePrintSettingsDialog::rebuildChoices()
{
    auto* column = static_cast<QVBoxLayout*>(m_group->layout());
    for (QRadioButton*& item : m_items) {
        delete item;
        item = nullptr;
    }
    while (QLayoutItem* rest = column->takeAt(0))
        delete rest;
    for (int i = 0; i < 2; ++i) {
        m_items[i] = new QRadioButton(loadStr(231 + i), m_group);
        m_items[i]->setObjectName(QStringLiteral("rgTiskco%1").arg(i));
        column->addWidget(m_items[i]);
        m_items[i]->show(); // the group may be on screen already
    }
    column->addStretch();
}

void ProfilePrintSettingsDialog::applyTexts()
{
    PrintSettingsDialog::applyTexts();
    m_group->setTitle(loadStr(230));
    rebuildChoices();
    setChoice(m_fromPopup ? 1 : 0);
}

int ProfilePrintSettingsDialog::choice() const
{
    return m_items[1] && m_items[1]->isChecked() ? 1 : 0;
}

void ProfilePrintSettingsDialog::setChoice(int index)
{
    if (m_items[0] && m_items[1])
        m_items[index == 1 ? 1 : 0]->setChecked(true);
}

Report* ProfilePrintSettingsDialog::report() const
{
    return m_form ? &m_form->report() : nullptr;
}

void ProfilePrintSettingsDialog::createReport()
{
    if (!m_dm.printFirms()) // no database open
        return;
    m_cursors = std::make_unique<ProfilePrintCursors>(m_dm);
    m_form = std::make_unique<ProfileReport>(m_cursors->sources());
}

void ProfilePrintSettingsDialog::destroyReport()
{
    m_form.reset();
    m_cursors.reset();
}

void ProfilePrintSettingsDialog::prepareData()
{
    m_printScope.reset();
    if (choice() == 1) {
        const qint64 peno = m_dm.firms() ? m_dm.firms()->int64(QStringLiteral("peno")) : 0;
        m_printScope.emplace(m_dm, currentFirmFilter(peno));
    } else {
        // The current set (selection and exclusions) in the list window's order.
        m_printScope.emplace(m_dm);
    }
    m_dm.printPersons()->open();
    m_dm.printFirms()->first();
}

void ProfilePrintSettingsDialog::hideEvent(QHideEvent* event)
{
    PrintSettingsDialog::hideEvent(event);
    m_printScope.reset();
}

} // namespace kv
