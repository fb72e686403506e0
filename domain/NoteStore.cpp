#include "domain/NoteStore.h"

#include "core/Settings.h"
#include "domain/FileNoteStore.h"
#include "domain/ServerNoteStore.h"

namespace kv
{

NoteStore::~NoteStore() = default;

QString NoteStore::timeText(const QDateTime& changed)
{
    return changed.toLocalTime().toString(QStringLiteral("d.M.yyyy H:mm"));
}

QStringList NoteStore::listing(const std::vector<Note>& notes)
{
    QStringList lines;
    for (const Note& n : notes) {
        if (!lines.isEmpty())
            lines << QString();
        lines << n.author + QStringLiteral(", ") + timeText(n.changed);
        QString text = n.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        while (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        lines << text.split(QLatin1Char('\n'));
    }
    return lines;
}

QString NoteStore::shownText(qint64 peno)
{
    const std::vector<Note> notes = all(peno);
    if (notes.empty())
        return QString();
    if (!shared())
        return notes.front().text;
    return listing(notes).join(QLatin1Char('\n'));
}

std::unique_ptr<NoteStore> NoteStore::fromSettings()
{
    if (settings().database.isEmpty())
        return std::make_unique<FileNoteStore>();
    return std::make_unique<ServerNoteStore>(settings().database, ServerNoteStore::defaultAuthor());
}

} // namespace kv
