#include "ui/ExportDialog.h"

#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "engine/TableCursor.h"
#include "ui/ExportProgressDialog.h"
#include "ui/FileDialogs.h"
#include "ui/FixedDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>

#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace kv
{

namespace
{

// Text ids of the items in line order.
constexpr int itemText[ExportItemCount] = {22, 23, 24, 25, 26, 27, 28, 29, 30, 225};

// Screen rows: the contact person stands between district and telephone.
constexpr ExportItem screenOrder[ExportItemCount] = {
    ExportItem::Nazev, ExportItem::Ulice, ExportItem::Misto, ExportItem::Psc,   ExportItem::Okres,
    ExportItem::Osoba, ExportItem::Tel,   ExportItem::Fax,   ExportItem::Email, ExportItem::Www};

const char* const itemName[ExportItemCount] = {"cbNazev", "cbUlice", "cbMisto", "cbPSC", "cbOkres",
                                               "cbTel",   "cbFax",   "cbEmail", "cbWWW", "cbOsoba"};

} // namespace

ExportDialog::ExportDialog(DataModule& dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    setUpFixedDialog(this, "FExport", Qt::WindowTitleHint, QSize(361, 318));
    build();
    applyTexts();
}

void ExportDialog::build()
{
    m_grPolozky = new QGroupBox(this);
    m_grPolozky->setObjectName(QStringLiteral("grPolozky"));
    m_grPolozky->setGeometry(8, 8, 185, 268);
    const ExportChoice designed;
    for (int row = 0; row < ExportItemCount; ++row) {
        const ExportItem item = screenOrder[row];
        auto box = new QCheckBox(m_grPolozky);
        box->setObjectName(QLatin1String(itemName[int(item)]));
        box->setGeometry(12, 22 + row * 24, 165, 20);
        box->setChecked(designed.has(item));
        m_items[size_t(item)] = box;
    }

    m_rgOddelovac = new QGroupBox(this);
    m_rgOddelovac->setObjectName(QStringLiteral("rgOddelovac"));
    m_rgOddelovac->setGeometry(204, 8, 149, 124);
    m_sepGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        m_sep[size_t(i)] = new QRadioButton(m_rgOddelovac);
        m_sep[size_t(i)]->setGeometry(12, 22 + i * 24, 129, 20);
        m_sepGroup->addButton(m_sep[size_t(i)], i);
    }
    m_edOddelovac = new QLineEdit(m_rgOddelovac);
    m_edOddelovac->setObjectName(QStringLiteral("edOddelovac"));
    m_edOddelovac->setGeometry(32, 94, 105, 22);
    m_edOddelovac->setVisible(false);
    connect(m_sepGroup, &QButtonGroup::idClicked, this, [this](int) { rgOddelovacClick(); });
    connect(m_sepGroup, &QButtonGroup::idToggled, this, [this](int, bool) { rgOddelovacClick(); });

    m_rgFormat = new QGroupBox(this);
    m_rgFormat->setObjectName(QStringLiteral("rgFormat"));
    m_rgFormat->setGeometry(204, 140, 149, 100);
    m_formatGroup = new QButtonGroup(this);
    const char* const formatNames[3] = {"rbText", "rbCsv", "rbXlsx"};
    for (int i = 0; i < 3; ++i) {
        m_format[size_t(i)] = new QRadioButton(m_rgFormat);
        m_format[size_t(i)]->setObjectName(QLatin1String(formatNames[i]));
        m_format[size_t(i)]->setGeometry(12, 22 + i * 24, 129, 20);
        m_formatGroup->addButton(m_format[size_t(i)], i);
    }
    m_format[0]->setChecked(true);

    m_btnOk = new QPushButton(this);
    m_btnOk->setObjectName(QStringLiteral("btnOk"));
    m_btnOk->setGeometry(196, 284, 75, 25);
    m_btnOk->setDefault(true);
    m_btnZrusit = new QPushButton(this);
    m_btnZrusit->setObjectName(QStringLiteral("btnZrusit"));
    m_btnZrusit->setGeometry(278, 284, 75, 25);
    connect(m_btnOk, &QPushButton::clicked, this, &ExportDialog::btnOkClick);
    connect(m_btnZrusit, &QPushButton::clicked, this, &QDialog::reject);
}

void ExportDialog::applyTexts()
{
    setWindowTitle(loadStr(103));
    m_grPolozky->setTitle(loadStr(97));
    for (int i = 0; i < ExportItemCount; ++i)
        m_items[size_t(i)]->setText(loadStr(itemText[i]));
    m_rgOddelovac->setTitle(loadStr(98));
    for (int i = 0; i < 3; ++i)
        m_sep[size_t(i)]->setText(loadStr(99 + i));
    m_rgFormat->setTitle(loadStr(285));
    for (int i = 0; i < 3; ++i)
        m_format[size_t(i)]->setText(loadStr(286 + i));
    m_btnOk->setText(loadStr(67));
    m_btnZrusit->setText(loadStr(235));
}

bool ExportDialog::applyLimit()
{
    const bool over = m_dm.firms() && m_dm.firms()->recordCount() > TextExport::Limit;
    m_btnOk->setEnabled(!over);
    return over;
}

void ExportDialog::showEvent(QShowEvent* event)
{
    applyTexts();
    setSeparatorItem(1);
    if (QScreen* s = QApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

int ExportDialog::separatorItem() const
{
    return m_sepGroup->checkedId();
}

void ExportDialog::setSeparatorItem(int item)
{
    if (QAbstractButton* b = m_sepGroup->button(item))
        b->setChecked(true);
    rgOddelovacClick();
}

void ExportDialog::rgOddelovacClick()
{
    m_edOddelovac->setVisible(m_sepGroup->checkedId() == 2);
}

ExportChoice ExportDialog::choice() const
{
    ExportChoice c;
    for (int i = 0; i < ExportItemCount; ++i)
        c.items[size_t(i)] = m_items[size_t(i)]->isChecked();
    c.separator = ExportChoice::separatorFor(separatorItem(), m_edOddelovac->text());
    const ExportFormat formats[3] = {ExportFormat::Text, ExportFormat::Csv, ExportFormat::Xlsx};
    c.format = formats[qBound(0, m_formatGroup->checkedId(), 2)];
    return c;
}

QString ExportDialog::askFile()
{
    FileDialogRequest request;
    request.save = true;
    // The file types in the language of the program, not of the desktop.
    const auto filter = [](int text, const char* pattern) {
        return loadStr(text) + QStringLiteral(" (%1)").arg(QLatin1String(pattern));
    };
    switch (choice().format) {
    case ExportFormat::Text:
        request.defaultSuffix = QStringLiteral("txt");
        request.nameFilters = {filter(295, "*.txt")};
        break;
    case ExportFormat::Csv:
        request.defaultSuffix = QStringLiteral("csv");
        request.nameFilters = {filter(296, "*.csv")};
        break;
    case ExportFormat::Xlsx:
        request.defaultSuffix = QStringLiteral("xlsx");
        request.nameFilters = {filter(297, "*.xlsx")};
        break;
    }
    request.nameFilters << filter(298, "*");
    request.nativeDialog = true;
    return askFileName(this, request);
}

void ExportDialog::setControlsEnabled(bool on)
{
    for (QCheckBox* b : m_items)
        b->setEnabled(on);
    m_rgOddelovac->setEnabled(on);
    m_rgFormat->setEnabled(on);
    m_btnOk->setEnabled(on);
    m_btnZrusit->setEnabled(on);
}

TextExport::Result ExportDialog::exportTo(const QString& path)
{
    const ExportChoice c = choice();
    setControlsEnabled(false);
    repaint();
    ExportProgressDialog progress(this);
    TextExport::Result result;
    try {
        result = TextExport::run(m_dm, c, path, [&](int done, int total) {
            if (done == 1) {
                progress.start(total);
                emit progressShown(&progress);
            }
            return progress.step();
        });
    } catch (const std::exception& e) {
        result.status = TextExport::Status::WriteFailed;
        result.error = QString::fromUtf8(e.what());
    }
    progress.hide();
    setControlsEnabled(true);
    if (result.status == TextExport::Status::WriteFailed) {
        QMessageBox box(QMessageBox::Critical, loadStr(17), result.error, QMessageBox::Ok, this);
        box.exec();
    }
    return result;
}

void ExportDialog::btnOkClick()
{
    // An empty separator of its own would glue the fields of a line together.
    if (choice().separator.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, loadStr(119), loadStr(247), QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("EmptySeparator"));
        box.exec();
        m_edOddelovac->setFocus();
        return;
    }
    const QString path = askFile();
    if (!path.isEmpty()) {
        const TextExport::Result result = exportTo(path);
        if (result.status == TextExport::Status::Written) {
            QMessageBox box(QMessageBox::Information, loadStr(103),
                            loadStr(248).arg(result.lines).arg(QDir::toNativeSeparators(path)),
                            QMessageBox::Ok, this);
            box.setObjectName(QStringLiteral("ExportDone"));
            box.setTextInteractionFlags(Qt::TextSelectableByMouse);
            box.exec();
        }
    }
    accept();
}

} // namespace kv
