#include "ui/MainMenus.h"

#include "core/StringTable.h"
#include "ui/MenuKeys.h"

#include <QMenu>
#include <QMenuBar>

namespace kv
{

MainMenus::MainMenus(QMenuBar* bar, QWidget* owner) : QObject(owner)
{
    using C = Command;
    // Main menu: depth 0 entries are the menu bar's items.
    const std::vector<Entry> main = {
        {"MIVyber", 1, C::None, 0},
        {"MINovy", 13, C::NewSelection, 1},
        {"MIUpravit", 90, C::EditSelection, 1},
        {"MINacist", 91, C::LoadSelection, 1},
        {"MIUlozit", 92, C::SaveSelection, 1},
        {"MINacistServer", 272, C::LoadServerSelection, 1},
        {"MIUlozitServer", 271, C::SaveServerSelection, 1},
        {"-", 0, C::None, 1},
        {"MISort", 186, C::None, 1},
        {"MISNazev", 22, C::SortNazev, 2},
        {"MISMisto", 24, C::SortMisto, 2},
        {"MISOkres", 26, C::SortOkres, 2},
        {"MISPsc", 25, C::SortPsc, 2},
        {"MIVyjmout", 114, C::Exclude, 1},
        {"MIVyjmute", 115, C::ShowExcluded, 1},
        {"-", 0, C::None, 1},
        {"MIPozn", 110, C::Note, 1},
        {"MIZobrazit", 3, C::None, 0},
        {"MISeznam", 4, C::ListWindow, 1},
        {"MIProfil", 5, C::ProfileWindow, 1},
        {"-", 0, C::None, 1},
        {"MINastaveni", 6, C::DisplaySettings, 1},
        {"MIJazyk", 121, C::Language, 1},
        {"MITisk", 96, C::None, 0},
        {"MITSeznam", 4, C::PrintList, 1},
        {"MITProfil", 5, C::PrintProfiles, 1},
        {"MITStitky", 83, C::PrintLabels, 1},
        {"-", 0, C::None, 1},
        {"MITxtExport", 84, C::Export, 1},
        {"MIOkna", 7, C::None, 0},
        {"MIVedlesebe", 8, C::TileVertical, 1},
        {"MIPodsebou", 9, C::TileHorizontal, 1},
        {"MIKaskada", 10, C::Cascade, 1},
        {"MIPrezentace", 14, C::Presentation, 0},
        {"MIDuleziteOdkazy", 224, C::None, 0},
        {"MIKV", 187, C::Link, 1},
        {"MIPE", 189, C::Link, 1},
        {"MITA", 190, C::Link, 1},
        {"MIVE", 188, C::Link, 1},
        {"-", 0, C::None, 1},
        {"MIWAtlas", 227, C::Link, 1},
        {"MIWSeznam", 228, C::Link, 1},
        {"MIWPatria", 229, C::Link, 1},
        {"-", 0, C::None, 1},
        {"MIWObchrejstrik", 241, C::Link, 1},
        {"MIWAres", 242, C::Link, 1},
        {"MINapoveda", 93, C::None, 0},
        {"MIObsah", 94, C::Help, 1},
        {"-", 0, C::None, 1},
        {"MIOprogramu", 95, C::About, 1},
        {"MIKonec", 2, C::Exit, 0},
    };
    // Pop-up menu: depth 0 entries are the pop-up's own items.
    const std::vector<Entry> popup = {
        {"PIVyber", 1, C::None, 0},
        {"PIUpravitvyber", 90, C::EditSelection, 1},
        {"PINovyvyber", 13, C::NewSelection, 1},
        {"PIUlozitvyber", 92, C::SaveSelection, 1},
        {"PINacistvyber", 91, C::LoadSelection, 1},
        {"PITisk", 96, C::None, 0},
        {"PITiskseznam", 4, C::PrintList, 1},
        {"PITiskprofil", 5, C::PrintProfileCurrent, 1},
        {"PITiskstitky", 83, C::PrintLabels, 1},
        {"PITxtexport", 84, C::Export, 1},
        {"-", 0, C::None, 0},
        {"PISort", 186, C::None, 0},
        {"PISNazev", 22, C::SortNazev, 1},
        {"PISMisto", 24, C::SortMisto, 1},
        {"PISOkres", 26, C::SortOkres, 1},
        {"PISPsc", 25, C::SortPsc, 1},
        {"-", 0, C::None, 0},
        {"PISeznam", 4, C::ListWindow, 0},
        {"PIProfil", 5, C::ProfileWindow, 0},
        {"PINastaveni", 6, C::DisplaySettings, 0},
        {"-", 0, C::None, 0},
        {"PIVyjmout", 114, C::Exclude, 0},
        {"PIPozn", 110, C::Note, 0},
    };
    build(bar, nullptr, main);
    m_popup = new QMenu(owner);
    m_popup->setObjectName(QStringLiteral("PMenu"));
    build(nullptr, m_popup, popup);
    m_windows = m_items.value(QStringLiteral("MIOkna"))->menu();
    m_windows->addSeparator();
    MenuKeys::installShortcuts(*this);
    applyTexts();
}

void MainMenus::build(QMenuBar* bar, QMenu* popupRoot, const std::vector<Entry>& entries)
{
    // container[d] receives the entries of depth d; depth 0 is the menu bar
    // or the pop-up itself.
    QMenu* container[3] = {popupRoot, nullptr, nullptr};
    auto addTo = [&](int depth, QAction* action) {
        if (depth == 0 && bar)
            bar->addAction(action);
        else
            container[depth]->addAction(action);
    };
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        if (qstrcmp(e.name, "-") == 0) {
            QAction* sep = new QAction(parent());
            sep->setSeparator(true);
            addTo(e.depth, sep);
            continue;
        }
        const QString name = QLatin1String(e.name);
        const bool hasChildren = i + 1 < entries.size() && entries[i + 1].depth > e.depth &&
                                 qstrcmp(entries[i + 1].name, "-") != 0;
        QAction* action = nullptr;
        if (hasChildren) {
            QMenu* menu = new QMenu(qobject_cast<QWidget*>(parent()));
            menu->setObjectName(name);
            action = menu->menuAction();
            container[e.depth + 1] = menu;
        } else {
            action = new QAction(parent());
            const Command cmd = e.command;
            connect(action, &QAction::triggered, this,
                    [this, cmd, name]() { emit command(cmd, name); });
        }
        action->setObjectName(name);
        addTo(e.depth, action);
        m_items.insert(name, action);
        m_textIds.insert(action, e.textId);
    }
}

void MainMenus::applyTexts()
{
    for (auto it = m_textIds.begin(); it != m_textIds.end(); ++it)
        it.key()->setText(loadStr(it.value()));
    MenuKeys::completeMnemonics(qobject_cast<QWidget*>(parent()));
}

} // namespace kv
