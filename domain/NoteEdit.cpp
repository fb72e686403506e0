#include "domain/NoteEdit.h"

#include "core/Error.h"
#include "core/StringTable.h"

namespace kv
{

NoteEdit::NoteEdit(NoteStore& store, qint64 peno)
    : m_store(store), m_peno(peno), m_opened(store.own(peno))
{
}

NoteEdit::NoteEdit(NoteStore& store, qint64 peno, const Note& opened)
    : m_store(store), m_peno(peno), m_opened(opened)
{
}

std::optional<Note> NoteEdit::save(const QString& text)
{
    return saveAt(text, m_opened.revision);
}

std::optional<Note> NoteEdit::saveAt(const QString& text, qint64 revision)
{
    const NoteSave r = m_store.save(m_peno, text, revision);
    m_refused = r.refused;
    if (r.refused)
        throw Error::engine(loadStr(310).arg(r.current.author, r.current.owner));
    const bool sameText = r.current.text.trimmed() == text.trimmed();
    if (r.saved || sameText) {
        m_opened = r.current;
        return std::nullopt;
    }
    return r.current;
}

std::optional<Note> NoteEdit::resolve(Answer answer, const QString& mine, const Note& theirs)
{
    switch (answer) {
    case Answer::KeepTheirs:
        m_opened = theirs;
        return std::nullopt;
    case Answer::Overwrite:
        return saveAt(mine, theirs.revision);
    case Answer::KeepBoth:
        return saveAt(bothTexts(theirs.text, mine), theirs.revision);
    }
    return std::nullopt;
}

QString NoteEdit::bothTexts(const QString& theirs, const QString& mine)
{
    if (theirs.trimmed().isEmpty())
        return mine;
    if (mine.trimmed().isEmpty())
        return theirs;
    QString both = theirs;
    while (both.endsWith(QLatin1Char('\n')))
        both.chop(1);
    return both + QLatin1Char('\n') + mine;
}

} // namespace kv
