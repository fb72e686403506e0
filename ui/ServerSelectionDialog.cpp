#include "ui/ServerSelectionDialog.h"

#include "core/StringTable.h"
#include "engine/PgSelectionStore.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv
{

ServerSelectionDialog::ServerSelectionDialog(Mode mode,
                                             const std::vector<ServerSelections::Entry>& entries,
                                             QWidget* parent)
    : QDialog(parent), m_mode(mode)
{
    setObjectName(QStringLiteral("ServerSelectionDialog"));
    setWindowTitle(loadStr(273));
    resize(560, 360);
    auto* layout = new QVBoxLayout(this);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lvVybery"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({loadStr(274), loadStr(275), loadStr(276)});
    // The server's order (Czech) is kept: no sorting by the view.
    const QLocale locale;
    for (const ServerSelections::Entry& entry : entries) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, entry.name);
        item->setToolTip(0, entry.name);
        item->setText(1, entry.author);
        item->setText(2, locale.toString(entry.savedAt.toLocalTime(), QLocale::ShortFormat));
    }
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setStretchLastSection(false);
    m_list->resizeColumnToContents(1);
    m_list->resizeColumnToContents(2);
    layout->addWidget(m_list);

    m_nameLabel = new QLabel(loadStr(274), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edNazev"));
    m_name->setMaxLength(engine::PgSelectionStore::MaxNameLength);
    m_nameLabel->setBuddy(m_name);
    layout->addWidget(m_nameLabel);
    layout->addWidget(m_name);
    // Loading takes only a listed name.
    m_nameLabel->setVisible(mode == Mode::Save);
    m_name->setVisible(mode == Mode::Save);

    m_buttons = new QDialogButtonBox(
        (mode == Mode::Save ? QDialogButtonBox::Save : QDialogButtonBox::Open) |
            QDialogButtonBox::Cancel,
        this);
    m_buttons->setObjectName(QStringLiteral("buttons"));
    layout->addWidget(m_buttons);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item && m_mode == Mode::Save)
            m_name->setText(item->text(0));
        updateOk();
    });
    connect(m_list, &QTreeWidget::itemActivated, this, [this]() {
        if (okButton()->isEnabled())
            accept();
    });
    connect(m_name, &QLineEdit::textChanged, this, &ServerSelectionDialog::updateOk);
    if (mode == Mode::Save)
        m_name->setFocus();
    else
        m_list->setFocus();
    updateOk();
}

QString ServerSelectionDialog::name() const
{
    if (m_mode == Mode::Save)
        return m_name->text();
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? item->text(0) : QString();
}

void ServerSelectionDialog::setName(const QString& name)
{
    m_name->setText(name);
}

QPushButton* ServerSelectionDialog::okButton() const
{
    return m_buttons->button(m_mode == Mode::Save ? QDialogButtonBox::Save
                                                  : QDialogButtonBox::Open);
}

void ServerSelectionDialog::updateOk()
{
    okButton()->setEnabled(m_mode == Mode::Save ? !m_name->text().trimmed().isEmpty()
                                                : m_list->currentItem() != nullptr);
}

} // namespace kv
