#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

namespace kv::engine
{

class PgConnection;

// The office's notes on a PostgreSQL server: the table kvelta.notes, one
// note per firm and author. Every save names the revision the writer opened
// the note at; a row that changed since is not written, and the save reports
// the row as it is now. Revisions come from one sequence, so a note deleted
// and written again never repeats a revision a writer may still hold.
//
// The table lives in the schema kvelta beside the directory's version
// pointer, which loads never drop. The role kvelta_notes may read every note;
// row-level security lets a member add, change and delete only rows whose
// owner (the login role that wrote them) is itself. The author is what the
// program shows; the owner is what the server enforces. kvelta db load
// creates the role and the table (prepare()).
class PgNoteStore
{
public:
    static constexpr const char* writerRole = "kvelta_notes";

    struct Note {
        QString author;
        QString text;
        QDateTime changed;   // UTC
        qint64 revision = 0; // 0: there is no such note
        QString owner;       // the login role that wrote it
        bool mine = true;    // owner is this session's login role
    };
    struct SaveResult {
        bool saved = false;
        // Saved: the note as written (revision 0 when it was deleted).
        // Not saved: the row as another writer left it (revision 0: deleted).
        Note current;
        // Not saved because the row belongs to another login role, which
        // this one may not change (current.owner names it).
        bool refused = false;
    };

    explicit PgNoteStore(PgConnection& connection) : m_connection(connection) {}

    // Creates the role, the schema, the sequence and the table where missing,
    // upgrades a table of an earlier version to row owners and row-level
    // security, and grants them to kvelta_notes. Needs a role that may create
    // roles and owns (or may create) the schema kvelta and the table.
    void prepare();
    // Whether kvelta.notes exists with row owners and their policies.
    bool ready();

    // The firm's notes of every author, newest first.
    std::vector<Note> notesOf(qint64 peno);
    // One author's note of the firm (revision 0 when there is none).
    Note noteOf(qint64 peno, const QString& author);
    // Writes author's note if its revision is still openedAt (0: there was
    // no note). A text that is empty after trimming deletes the note.
    SaveResult save(qint64 peno, const QString& author, const QString& text, qint64 openedAt);

    // The company numbers with at least one note this role may read,
    // ascending: one statement, however many notes there are.
    std::vector<qint64> firmsWithNotes();

private:
    PgConnection& m_connection;
};

} // namespace kv::engine
