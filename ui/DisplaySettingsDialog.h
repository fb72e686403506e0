#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kv
{

class DataModule;

// The display settings: which sections the company profile shows and which
// address parts the list line holds. OK stores the flags, reopens the data
// module's optional tables and the company set (first firm current); Cancel
// changes nothing.
class DisplaySettingsDialog : public QDialog
{
    Q_OBJECT
public:
    // The boxes in tab order: the profile group, then the list group.
    enum Box {
        Logo,
        Adresa,
        Reklamy,
        Kontakty,
        Osoby,
        Zatrid,
        Radky,
        Pozn,
        Nazev,
        Ulice,
        Misto,
        Psc,
        Okres,
        BoxCount
    };

    explicit DisplaySettingsDialog(DataModule* dm, QWidget* parent = nullptr);

    QCheckBox* box(Box b) const { return m_boxes[size_t(b)]; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    bool accepted() const { return m_accepted; }

    // Ticks the boxes from the flags; done on every show.
    void loadFlags();
    // Caption, headings, boxes and buttons in the current language.
    void applyTexts();

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cbZatridClick(bool ticked);

    DataModule* m_dm;
    std::array<QCheckBox*, BoxCount> m_boxes{};
    QLabel* m_profileHeading = nullptr;
    QLabel* m_listHeading = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_accepted = false;
};

} // namespace kv
