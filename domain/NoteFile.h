#pragma once

// A firm's private note: the file Pozn/<peno>.tx below the data home, in
// Windows-1250 with CR LF after every line. A firm has a note exactly when
// its file exists; an empty note is never stored. A note is read and
// written only as a regular file of its own, never through a symbolic link.

#include <QString>
#include <QStringList>

namespace kv
{

class NoteFile
{
public:
    static QString path(qint64 peno);
    static bool exists(qint64 peno);
    // The note's lines, without their line ends; empty when there is none.
    static QStringList lines(qint64 peno);
    // The note as one text, lines joined by '\n'.
    static QString text(qint64 peno);

    // Stores the text as typed, one CR LF after every line. A text that is
    // empty after trimming deletes the note instead. Creates Pozn/ when it
    // is missing. Writes through SafeFileWriter, so that a failed write
    // keeps the earlier note; a link in the note's place is refused. Throws Error::file when the
    // note cannot be written or deleted, or holds characters Windows-1250 cannot store.
    static void save(qint64 peno, const QString& text);
};

} // namespace kv
