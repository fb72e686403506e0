#include "ui/LabelLinesDialog.h"

#include "core/StringTable.h"
#include "ui/FixedDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv
{

namespace
{
// In the order of LabelSettings::Option.
constexpr std::pair<const char*, int> Boxes[] = {
    {"cbLosloveni", 173}, {"cbLnazev", 22}, {"cbLulice", 23},
    {"cbLmisto", 24},     {"cbLPSC", 25},   {"cbLCzechrep", 183},
};
} // namespace

LabelLinesDialog::LabelLinesDialog(QWidget* parent) : QDialog(parent)
{
    setUpFixedDialog(this, "FSetLabelDetail");
    for (int i = 0; i < LabelSettings::OptionCount; ++i) {
        auto cb = new QCheckBox(this);
        cb->setObjectName(QLatin1String(Boxes[i].first));
        m_boxes[size_t(i)] = cb;
    }
    m_edOsloveni = new QLineEdit(this);
    m_edOsloveni->setObjectName(QStringLiteral("edOsloveni"));
    const OkCancelButtons okCancel = makeOkCancel(this);
    m_ok = okCancel.ok;
    m_cancel = okCancel.cancel;

    auto grid = new QGridLayout;
    grid->addWidget(box(LabelSettings::Salutation), 0, 0);
    grid->addWidget(m_edOsloveni, 0, 1);
    for (int i = LabelSettings::Name; i <= LabelSettings::Postcode; ++i)
        grid->addWidget(m_boxes[size_t(i)], i, 0, 1, 2);
    grid->addWidget(box(LabelSettings::Country), LabelSettings::Country, 0, 1, 2);
    auto main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addStretch();
    main->addLayout(okCancelRow(okCancel));

    setOptions({false, true, true, true, true, false});
    // The country line is not offered; only the default button and label
    // files set it.
    box(LabelSettings::Country)->hide();
    connect(box(LabelSettings::Salutation), &QCheckBox::toggled, this,
            &LabelLinesDialog::updateSalutationEdit);
    connect(this, &QDialog::rejected, this, [this]() { setOptions(m_remembered); });
    applyTexts();
    updateSalutationEdit();
}

void LabelLinesDialog::applyTexts()
{
    setWindowTitle(loadStr(172));
    for (int i = 0; i < LabelSettings::OptionCount; ++i)
        m_boxes[size_t(i)]->setText(loadStr(Boxes[i].second));
    m_ok->setText(loadStr(67));
    m_cancel->setText(loadStr(235));
}

std::array<bool, LabelSettings::OptionCount> LabelLinesDialog::options() const
{
    std::array<bool, LabelSettings::OptionCount> out{};
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = m_boxes[i]->isChecked();
    return out;
}

void LabelLinesDialog::setOptions(const std::array<bool, LabelSettings::OptionCount>& options)
{
    for (size_t i = 0; i < options.size(); ++i)
        m_boxes[i]->setChecked(options[i]);
    updateSalutationEdit();
}

QString LabelLinesDialog::salutation() const
{
    return m_edOsloveni->text();
}

void LabelLinesDialog::setSalutation(const QString& text)
{
    m_edOsloveni->setText(text);
}

void LabelLinesDialog::showEvent(QShowEvent* event)
{
    applyTexts();
    m_remembered = options();
    updateSalutationEdit();
    QDialog::showEvent(event);
}

void LabelLinesDialog::updateSalutationEdit()
{
    const bool on = box(LabelSettings::Salutation)->isChecked();
    m_edOsloveni->setEnabled(on);
    QPalette pal = m_edOsloveni->palette();
    pal.setColor(QPalette::Base, on ? QColor(Qt::white) : QColor(192, 192, 192));
    m_edOsloveni->setPalette(pal);
}

} // namespace kv
