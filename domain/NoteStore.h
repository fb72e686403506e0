#pragma once

// Where the windows read and write notes. Without a server each user keeps
// private notes as files below the data home (FileNoteStore); with
// settings().database set the office shares them on that server
// (ServerNoteStore), one note per firm and author.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace kv
{

struct Note {
    QString author;      // empty for a private file note
    QString text;        // lines joined by '\n'
    QDateTime changed;   // invalid for a private file note
    qint64 revision = 0; // 0: no note (or one that is never contested)
    QString owner;       // on a server: the login role that wrote it
    bool mine = true;    // this session may change it
};

struct NoteSave {
    bool saved = false;
    // Saved: the note as it is stored now. Not saved: the note as another
    // session left it since it was opened (revision 0: deleted).
    Note current;
    // Not saved because the note belongs to another login role of the
    // server (current.owner), whose rows this session may not change.
    bool refused = false;
};

class NoteStore
{
public:
    virtual ~NoteStore();

    // True when notes carry authors and times and may be contested.
    virtual bool shared() const = 0;
    // Who writes this session's notes; empty for private files.
    virtual QString author() const = 0;
    // This author's note of the firm, to edit (revision 0 when none).
    virtual Note own(qint64 peno) = 0;
    // Every note of the firm to show, newest first.
    virtual std::vector<Note> all(qint64 peno) = 0;
    // Stores the text (blank deletes it) if the own note is still at
    // openedAt; otherwise writes nothing and reports the note as it is.
    virtual NoteSave save(qint64 peno, const QString& text, qint64 openedAt) = 0;
    // The company numbers that have a note this session can read, ascending,
    // asked in one go however many there are.
    virtual std::vector<qint64> firmsWithNotes() = 0;

    // The firm's notes as one text, as the profile shows them: the private
    // note as typed, or every author's note under its author and time.
    QString shownText(qint64 peno);

    // The notes as the profile lists them: per note a line with author and
    // local time, its text, and an empty line before the next.
    static QStringList listing(const std::vector<Note>& notes);
    // "10.12.2026 11:30" in local time.
    static QString timeText(const QDateTime& changed);

    // The store settings() asks for: the server when one is set.
    static std::unique_ptr<NoteStore> fromSettings();
};

} // namespace kv
