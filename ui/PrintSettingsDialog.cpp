#include "ui/PrintSettingsDialog.h"

#include "core/StringTable.h"
#include "reports/Report.h"
#include "ui/BusyCursor.h"
#include "ui/PrintPreviewWindow.h"
#include "ui/ReportPrintSetup.h"

#include <QApplication>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

namespace kv
{

PrintSettingsDialog::PrintSettingsDialog(int titleId, QWidget* parent)
    : QDialog(parent), m_titleId(titleId)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setModal(true);
    auto make = [this](const char* name) {
        auto b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setMinimumWidth(88);
        return b;
    };
    m_btnPismo = make("btnPismo");
    m_btnTiskarna = make("btnTiskarna");
    m_btnPreview = make("btnPreview");
    m_btnZrusit = make("btnZrusit");
    m_btnPreview->setDefault(true);
    connect(m_btnPismo, &QPushButton::clicked, this, &PrintSettingsDialog::chooseFont);
    connect(m_btnTiskarna, &QPushButton::clicked, this, &PrintSettingsDialog::choosePrinter);
    connect(m_btnPreview, &QPushButton::clicked, this, &PrintSettingsDialog::runPreview);
    connect(m_btnZrusit, &QPushButton::clicked, this, &PrintSettingsDialog::closeWindow);

    m_body = new QVBoxLayout;
    auto buttons = new QVBoxLayout;
    for (QPushButton* b : {m_btnPismo, m_btnTiskarna, m_btnPreview, m_btnZrusit})
        buttons->addWidget(b);
    buttons->addStretch();
    auto all = new QHBoxLayout(this);
    all->setContentsMargins(8, 8, 8, 8);
    all->addLayout(m_body, 1);
    all->addLayout(buttons);
}

void PrintSettingsDialog::setPreview(PrintPreviewWindow* preview)
{
    m_preview = preview;
}

PrintPreviewWindow* PrintSettingsDialog::preview() const
{
    return m_preview;
}

void PrintSettingsDialog::applyTexts()
{
    setWindowTitle(loadStr(m_titleId));
    m_btnPismo->setText(loadStr(168));
    m_btnTiskarna->setText(loadStr(124));
    m_btnPreview->setText(loadStr(123));
    m_btnZrusit->setText(loadStr(235));
}

void PrintSettingsDialog::showEvent(QShowEvent* event)
{
    applyTexts();
    if (!report())
        createReport();
    QDialog::showEvent(event);
}

void PrintSettingsDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // The preview still works on the report form; it goes when the preview
    // call has returned.
    if (m_previewing)
        m_hiddenWhilePreviewing = true;
    else
        destroyReport();
}

void PrintSettingsDialog::runPreview()
{
    if (m_previewing || !report())
        return;
    m_previewing = true;
    m_hiddenWhilePreviewing = false;
    QString failure;
    try {
        {
            BusyCursor busy;
            prepareData();
            copyChoices();
        }
        if (m_preview)
            m_preview->showReport(*report());
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    m_previewing = false;
    if (!failure.isEmpty()) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Error"), failure, QMessageBox::Ok,
                        this);
        box.exec();
    }
    if (m_hiddenWhilePreviewing)
        destroyReport();
    if (isVisible())
        accept();
}

void PrintSettingsDialog::closeWindow()
{
    if (m_preview && m_preview->isVisible()) {
        QApplication::beep();
        m_preview->close();
    }
    reject();
}

void PrintSettingsDialog::chooseFont()
{
    Report* r = report();
    if (!r)
        return;
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, r->font, this, loadStr(168).remove(u'&'));
    if (ok)
        r->font = chosen;
}

void PrintSettingsDialog::choosePrinter()
{
    if (Report* r = report())
        ReportPrintSetup::exec(*r, this);
}

} // namespace kv
