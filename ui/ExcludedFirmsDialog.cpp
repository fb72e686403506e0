#include "ui/ExcludedFirmsDialog.h"

#include "core/StringTable.h"
#include "domain/Exclusion.h"
#include "ui/BusyCursor.h"
#include "ui/ErrorBox.h"
#include "ui/FixedDialog.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <optional>

namespace kv
{

ExcludedFirmsDialog::ExcludedFirmsDialog(Exclusion& exclusion, QWidget* parent)
    : QDialog(parent), m_exclusion(exclusion)
{
    setUpFixedDialog(this, "FVyjmute", Qt::WindowStaysOnTopHint | Qt::WindowTitleHint,
                     QSize(533, 216));
    m_lst = new QListWidget(this);
    m_lst->setObjectName(QStringLiteral("lst"));
    m_lst->setGeometry(8, 12, 377, 193);
    auto button = [this](const char* name, int y) {
        auto b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(400, y, 121, 25);
        return b;
    };
    m_btnObnov = button("btnObnov", 12);
    m_btnObnovvse = button("btnObnovvse", 44);
    m_btnZrusit = button("btnZrusit", 180);
    m_btnObnov->setDefault(true);
    m_btnObnov->setAutoDefault(true);

    connect(m_btnObnov, &QPushButton::clicked, this, &ExcludedFirmsDialog::btnObnovClick);
    connect(m_btnObnovvse, &QPushButton::clicked, this, &ExcludedFirmsDialog::btnObnovvseClick);
    // Closing in any way ends the showing with OK.
    connect(m_btnZrusit, &QPushButton::clicked, this, &QDialog::accept);
    connect(this, &QDialog::rejected, this, [this]() { setResult(QDialog::Accepted); });
    applyTexts();
}

void ExcludedFirmsDialog::applyTexts()
{
    setWindowTitle(loadStr(118));
    m_btnObnovvse->setText(loadStr(116));
    m_btnObnov->setText(loadStr(117));
    m_btnZrusit->setText(loadStr(235));
}

void ExcludedFirmsDialog::refill()
{
    m_lst->clear();
    for (const ExcludedFirm& f : m_exclusion.firms()) {
        auto item = new QListWidgetItem(f.name, m_lst);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    const bool any = m_lst->count() > 0;
    for (QWidget* w : {static_cast<QWidget*>(m_lst), static_cast<QWidget*>(m_btnObnov),
                       static_cast<QWidget*>(m_btnObnovvse)})
        w->setEnabled(any);
}

void ExcludedFirmsDialog::showEvent(QShowEvent* event)
{
    applyTexts();
    refill();
    if (QScreen* s = QApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void ExcludedFirmsDialog::btnObnovClick()
{
    if (m_lst->count() == 0) {
        QApplication::beep();
        return;
    }
    QList<int> ticked;
    for (int i = 0; i < m_lst->count(); ++i)
        if (m_lst->item(i)->checkState() == Qt::Checked)
            ticked << i;
    restoring([this, ticked]() { m_exclusion.restoreSelected(ticked); });
}

void ExcludedFirmsDialog::btnObnovvseClick()
{
    restoring([this]() { m_exclusion.restoreAll(); });
}

void ExcludedFirmsDialog::restoring(const std::function<void()>& work)
{
    std::optional<QString> failure;
    {
        BusyCursor busy;
        try {
            work();
        } catch (const std::exception& e) {
            // The engine may reject the rewritten filter; the program goes on.
            failure = QString::fromUtf8(e.what());
        }
    }
    if (failure)
        showErrorBox(this, *failure);
    accept();
}

} // namespace kv
