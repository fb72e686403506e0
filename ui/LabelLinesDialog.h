#pragma once

#include "domain/LabelSettings.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kv
{

// Which address lines a label carries, and an optional salutation line.
// Cancel puts the six boxes back as they were when the window was shown; the
// salutation text stays as typed.
class LabelLinesDialog : public QDialog
{
    Q_OBJECT
public:
    explicit LabelLinesDialog(QWidget* parent = nullptr);

    QCheckBox* box(LabelSettings::Option option) const { return m_boxes[size_t(option)]; }
    QLineEdit* salutationEdit() const { return m_edOsloveni; }

    std::array<bool, LabelSettings::OptionCount> options() const;
    void setOptions(const std::array<bool, LabelSettings::OptionCount>& options);
    QString salutation() const;
    void setSalutation(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applyTexts();
    void updateSalutationEdit();

    std::array<QCheckBox*, LabelSettings::OptionCount> m_boxes{};
    std::array<bool, LabelSettings::OptionCount> m_remembered{};
    QLineEdit* m_edOsloveni;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace kv
