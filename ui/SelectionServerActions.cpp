#include "ui/SelectionServerActions.h"

#include "core/Error.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/ServerSelections.h"
#include "ui/BusyCursor.h"
#include "ui/ErrorBox.h"
#include "ui/SelectionWindow.h"
#include "ui/ServerSelectionDialog.h"

#include <QLocale>
#include <QMessageBox>
#include <optional>

namespace kv
{

namespace
{

// Runs work on the server; a failure there (engine) gets text 279, a
// damaged record the general box. Empty when it failed.
template <typename Work>
auto onServer(QWidget* parent, Work&& work)
    -> std::optional<decltype(work(std::declval<const ServerSelections&>()))>
{
    QString failure;
    bool engine = false;
    try {
        BusyCursor busy;
        return work(ServerSelections(settings().database));
    } catch (const Error& e) {
        failure = e.message();
        engine = e.is(Error::Kind::Engine);
    }
    // A cancel is no outage: the user's own word is enough.
    showErrorBox(parent, engine && failure != loadStr(327) ? loadStr(279).arg(failure) : failure);
    return std::nullopt;
}

QString when(const ServerSelections::Entry& entry)
{
    return QLocale().toString(entry.savedAt.toLocalTime(), QLocale::ShortFormat);
}

// A name of 10,000 characters would fill the screen.
QString shown(const QString& name)
{
    return name.size() > 80 ? name.left(79) + QChar(0x2026) : name;
}

} // namespace

bool hasSelectionServer()
{
    return !settings().database.trimmed().isEmpty();
}

bool saveSelectionToServer(SelectionWindow& vyber, QWidget* parent)
{
    QString name;
    for (;;) {
        const auto entries =
            onServer(parent, [](const ServerSelections& server) { return server.list(); });
        if (!entries)
            return false;
        ServerSelectionDialog dialog(ServerSelectionDialog::Mode::Save, *entries, parent);
        dialog.setName(name);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        name = dialog.name();
        if (name.trimmed().isEmpty()) {
            showErrorBox(parent, loadStr(291));
            continue;
        }
        const SelectionState state = vyber.state();
        auto result = onServer(parent, [&](const ServerSelections& server) {
            return server.save(name, state, false);
        });
        if (!result)
            return false;
        if (result->outcome == ServerSelections::Outcome::Exists) {
            QMessageBox ask(QMessageBox::Question, loadStr(273),
                            loadStr(277).arg(shown(name), when(result->entry)),
                            QMessageBox::Yes | QMessageBox::No, parent);
            if (ask.exec() != QMessageBox::Yes)
                continue;
            result = onServer(parent, [&](const ServerSelections& server) {
                return server.save(name, state, true);
            });
            if (!result)
                return false;
        }
        if (result->outcome == ServerSelections::Outcome::Foreign) {
            QMessageBox refused(QMessageBox::Warning, loadStr(273),
                                loadStr(278).arg(shown(name), result->entry.author),
                                QMessageBox::Ok, parent);
            refused.exec();
            continue;
        }
        return result->outcome != ServerSelections::Outcome::Exists;
    }
}

bool loadSelectionFromServer(SelectionWindow& vyber, QWidget* parent)
{
    const auto entries =
        onServer(parent, [](const ServerSelections& server) { return server.list(); });
    if (!entries)
        return false;
    ServerSelectionDialog dialog(ServerSelectionDialog::Mode::Load, *entries, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QString name = dialog.name();
    // Read into a copy, so a failure leaves the window's criteria alone.
    SelectionState state;
    const auto found =
        onServer(parent, [&](const ServerSelections& server) { return server.load(name, state); });
    if (!found)
        return false;
    if (!*found) {
        showErrorBox(parent, loadStr(290).arg(shown(name)));
        return false;
    }
    vyber.model().state = std::move(state);
    vyber.showState();
    return true;
}

} // namespace kv
