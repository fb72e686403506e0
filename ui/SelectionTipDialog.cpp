#include "ui/SelectionTipDialog.h"

#include "core/Settings.h"
#include "core/StringTable.h"
#include "ui/AuxPictures.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv
{

SelectionTipDialog::SelectionTipDialog(QWidget* parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FTip"));
    setFixedSize(347, 197);
    auto image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setFixedSize(343, 167);
    image->setPixmap(AuxPictures::tipPicture(QSize(343, 167), tipText(settings().langBase)));
    auto panClose = new QWidget(this);
    panClose->setObjectName(QStringLiteral("panClose"));
    auto btn = new QPushButton(panClose);
    btn->setObjectName(QStringLiteral("btnZavrit"));
    connect(btn, &QPushButton::clicked, this, &QDialog::reject);
    auto pl = new QHBoxLayout(panClose);
    pl->setContentsMargins(0, 0, 0, 0);
    pl->addStretch();
    pl->addWidget(btn);
    pl->addStretch();
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(image);
    layout->addWidget(panClose);
    applyTexts();
}

void SelectionTipDialog::applyTexts()
{
    setWindowTitle(loadStr(240));
    findChild<QPushButton*>(QStringLiteral("btnZavrit"))->setText(loadStr(239));
}

QString SelectionTipDialog::tipText(int langBase)
{
    // The captions come from the selection window's own texts, so the tip
    // names the controls as the window shows them.
    const auto caption = [langBase](int id) {
        return loadStr(id, langBase).remove(QLatin1Char('&')).trimmed();
    };
    const QString text =
        langBase == 500
            ? QStringLiteral(
                  "Click a row of the selection and type the beginning of a word into the "
                  "\"%1\" box on the left. Double-click a word (or press Space) to add it to "
                  "the row. \"%2\" in a row means a firm must match every value, \"%3\" that "
                  "one value is enough. \"%4\" tells how many firms the selection finds before "
                  "you confirm it with \"%5\".")
            : QStringLiteral(
                  "Klepněte na řádek výběru a do pole „%1“ vlevo napište začátek slova. "
                  "Dvojklikem na slovo (nebo mezerníkem) je přidáte do řádku. „%2“ v řádku "
                  "znamená, že firma musí odpovídat všem hodnotám, „%3“ stačí jedna. Tlačítkem "
                  "„%4“ zjistíte, kolik firem výběr najde, dříve než jej potvrdíte tlačítkem "
                  "„%5“.");
    return text.arg(caption(87), caption(75), caption(76), caption(89), caption(234));
}

} // namespace kv
