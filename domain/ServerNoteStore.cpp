#include "domain/ServerNoteStore.h"

#include "core/Error.h"
#include "engine/PgConnection.h"
#include "engine/PgNoteStore.h"

#include <QSettings>

#include <pwd.h>
#include <unistd.h>

namespace kv
{

namespace
{

Note fromServer(const engine::PgNoteStore::Note& n)
{
    return {n.author, n.text, n.changed, n.revision, n.owner, n.mine};
}

QString settingValue(const QString& key)
{
    QSettings user(QSettings::UserScope, QStringLiteral("Lumora"), QStringLiteral("KV2001"));
    QString value = user.value(key).toString().trimmed();
    if (value.isEmpty()) {
        QSettings system(QSettings::SystemScope, QStringLiteral("Lumora"),
                         QStringLiteral("KV2001"));
        value = system.value(key).toString().trimmed();
    }
    return value;
}

} // namespace

ServerNoteStore::ServerNoteStore(const QString& conninfo, const QString& author)
    : m_conninfo(conninfo), m_author(author)
{
}

ServerNoteStore::~ServerNoteStore() = default;

QString ServerNoteStore::defaultAuthor()
{
    QString name = settingValue(QStringLiteral("NoteAuthor"));
    for (const char* var : {"USER", "LOGNAME", "USERNAME"})
        if (name.isEmpty())
            name = qEnvironmentVariable(var).trimmed();
    // Services, cron and sudo often start programs without those variables;
    // the account itself still has a name.
    if (name.isEmpty())
        if (const passwd* account = getpwuid(geteuid()))
            name = QString::fromLocal8Bit(account->pw_name).trimmed();
    return name.isEmpty() ? QStringLiteral("?") : name;
}

template <class Action> auto ServerNoteStore::guarded(Action action)
{
    try {
        if (!m_connection) {
            m_connection = std::make_unique<engine::PgConnection>(m_conninfo);
            engine::PgNoteStore store(*m_connection);
            // A role allowed to makes the table on first use; for the
            // others kvelta db load has made it.
            if (!store.ready())
                store.prepare();
        }
        engine::PgNoteStore store(*m_connection);
        return action(store);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::Engine))
            throw;
        m_connection.reset(); // the next call connects afresh
        throw Error::engine(
            QStringLiteral("Poznámky na serveru nejsou dostupné: %1").arg(e.message()));
    }
}

Note ServerNoteStore::own(qint64 peno)
{
    return guarded([&](engine::PgNoteStore& s) { return fromServer(s.noteOf(peno, m_author)); });
}

std::vector<Note> ServerNoteStore::all(qint64 peno)
{
    return guarded([&](engine::PgNoteStore& s) {
        std::vector<Note> notes;
        for (const auto& n : s.notesOf(peno))
            notes.push_back(fromServer(n));
        return notes;
    });
}

NoteSave ServerNoteStore::save(qint64 peno, const QString& text, qint64 openedAt)
{
    return guarded([&](engine::PgNoteStore& s) {
        const auto r = s.save(peno, m_author, text, openedAt);
        return NoteSave{r.saved, fromServer(r.current), r.refused};
    });
}

std::vector<qint64> ServerNoteStore::firmsWithNotes()
{
    return guarded([](engine::PgNoteStore& s) { return s.firmsWithNotes(); });
}

} // namespace kv
