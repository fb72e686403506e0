#include "engine/PgNoteStore.h"

#include "core/Error.h"
#include "engine/PgConnection.h"
#include "engine/PgTransaction.h"

namespace kv::engine
{

namespace
{

// The columns every reading statement returns, in this order.
const char* const Columns = "author, body, (extract(epoch FROM changed) * 1000)::bigint, "
                            "revision, owner, owner = current_user";

PgNoteStore::Note noteAt(const PgResult& r, int row)
{
    PgNoteStore::Note n;
    n.author = r.text(row, 0);
    n.text = r.text(row, 1);
    n.changed = QDateTime::fromMSecsSinceEpoch(r.int64(row, 2), Qt::UTC);
    n.revision = r.int64(row, 3);
    n.owner = r.text(row, 4);
    n.mine = r.text(row, 5) == QLatin1String("t");
    return n;
}

// Another session may create the same object at the same moment.
bool raceLost(const PgResult& r)
{
    const QString s = r.sqlState();
    return s == QLatin1String("23505") || s == QLatin1String("42P07") ||
           s == QLatin1String("42P06");
}

// The policies of kvelta.notes by name: every member reads every note, and
// adds, changes and deletes only rows it owns.
struct Policy {
    const char* name;
    const char* rule;
};
constexpr Policy Policies[] = {
    {"notes_read_all", "FOR SELECT TO %1 USING (true)"},
    {"notes_add_own", "FOR INSERT TO %1 WITH CHECK (owner = current_user)"},
    {"notes_change_own",
     "FOR UPDATE TO %1 USING (owner = current_user) WITH CHECK (owner = current_user)"},
    {"notes_delete_own", "FOR DELETE TO %1 USING (owner = current_user)"},
};

} // namespace

void PgNoteStore::prepare()
{
    const QString roleName = QString::fromLatin1(writerRole);
    if (const auto refused = m_connection.ensureRole(roleName))
        m_connection.check(*refused, QStringLiteral("did not create the role %1").arg(roleName));
    const QString role = m_connection.identifier(roleName);
    for (const char* step : {"CREATE SCHEMA IF NOT EXISTS kvelta",
                             "CREATE SEQUENCE IF NOT EXISTS kvelta.note_revision"}) {
        const PgResult r = m_connection.tryQuery(QLatin1String(step));
        if (!raceLost(r))
            m_connection.check(r, QStringLiteral("did not prepare the notes table"));
    }

    PgTransaction tx(m_connection);
    // One preparer at a time; the next finds every step done.
    m_connection.query(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('kvelta.notes'))"));
    QStringList steps = {
        QStringLiteral("CREATE TABLE IF NOT EXISTS kvelta.notes ("
                       "peno bigint NOT NULL, "
                       "author text NOT NULL CHECK (author <> ''), "
                       "body text NOT NULL, "
                       "changed timestamptz NOT NULL DEFAULT now(), "
                       "revision bigint NOT NULL DEFAULT nextval('kvelta.note_revision'), "
                       "owner text NOT NULL DEFAULT current_user, "
                       "PRIMARY KEY (peno, author))"),
        // A table of the version before row owners. Its rows were written
        // by whoever was in kvelta_notes, under an author name that is by
        // default the account name, which offices use as the login role.
        // So a row goes to the login role named like its author: each user
        // keeps changing their own notes, and nobody gains a right the old
        // table did not give to every member. A row whose author names no
        // login role goes to the role upgrading the table (the table's
        // owner, who may hand it on with UPDATE ... SET owner).
        QStringLiteral("ALTER TABLE kvelta.notes ADD COLUMN IF NOT EXISTS owner text"),
        QStringLiteral("UPDATE kvelta.notes n SET owner = CASE WHEN EXISTS (SELECT 1 FROM "
                       "pg_catalog.pg_roles r WHERE r.rolname = n.author AND r.rolcanlogin) "
                       "THEN n.author ELSE current_user END WHERE owner IS NULL"),
        QStringLiteral("ALTER TABLE kvelta.notes ALTER COLUMN owner SET DEFAULT current_user, "
                       "ALTER COLUMN owner SET NOT NULL"),
        QStringLiteral("ALTER TABLE kvelta.notes ENABLE ROW LEVEL SECURITY"),
    };
    const PgResult existing =
        m_connection.query(QStringLiteral("SELECT policyname::text FROM pg_catalog.pg_policies "
                                          "WHERE schemaname = 'kvelta' AND tablename = 'notes'"));
    QStringList have;
    for (int i = 0; i < existing.rows(); ++i)
        have << existing.text(i, 0);
    for (const Policy& p : Policies)
        if (!have.contains(QLatin1String(p.name)))
            steps
                << QStringLiteral("CREATE POLICY %1 ON kvelta.notes ").arg(QLatin1String(p.name)) +
                       QString::fromLatin1(p.rule).arg(role);
    steps << QStringLiteral("GRANT USAGE ON SCHEMA kvelta TO %1").arg(role)
          << QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON kvelta.notes TO %1").arg(role)
          << QStringLiteral("GRANT USAGE, SELECT ON SEQUENCE kvelta.note_revision TO %1").arg(role);
    for (const QString& step : steps) {
        const PgResult r = m_connection.tryQuery(step);
        if (r.sqlState() == QLatin1String("42501"))
            throw Error::engine(
                QStringLiteral("PostgreSQL: %1 may not set up or upgrade the notes table "
                               "kvelta.notes; kvelta db load (or the table's owner) does")
                    .arg(m_connection.describe()));
        m_connection.check(r, QStringLiteral("did not prepare the notes table"));
    }
    tx.commit();
}

bool PgNoteStore::ready()
{
    // From the catalogue, which any role may read.
    return m_connection
               .query(QStringLiteral(
                   "SELECT 1 FROM pg_catalog.pg_class c "
                   "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
                   "JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid "
                   "WHERE n.nspname = 'kvelta' AND c.relname = 'notes' AND c.relrowsecurity "
                   "AND a.attname = 'owner' AND NOT a.attisdropped"))
               .rows() > 0;
}

std::vector<PgNoteStore::Note> PgNoteStore::notesOf(qint64 peno)
{
    const PgResult r =
        m_connection.query(QStringLiteral("SELECT %1 FROM kvelta.notes WHERE peno = $1 "
                                          "ORDER BY changed DESC, author")
                               .arg(QLatin1String(Columns)),
                           {peno});
    std::vector<Note> notes;
    notes.reserve(size_t(r.rows()));
    for (int i = 0; i < r.rows(); ++i)
        notes.push_back(noteAt(r, i));
    return notes;
}

PgNoteStore::Note PgNoteStore::noteOf(qint64 peno, const QString& author)
{
    const PgResult r = m_connection.query(
        QStringLiteral("SELECT %1 FROM kvelta.notes WHERE peno = $1 AND author = $2")
            .arg(QLatin1String(Columns)),
        {peno, author});
    if (r.rows() == 0) {
        Note none;
        none.author = author;
        return none;
    }
    return noteAt(r, 0);
}

PgNoteStore::SaveResult PgNoteStore::save(qint64 peno, const QString& author, const QString& text,
                                          qint64 openedAt)
{
    if (author.isEmpty())
        throw Error::engine(QStringLiteral("a note needs an author"));
    const bool erase = text.trimmed().isEmpty();
    SaveResult result;
    PgResult r;
    if (erase && openedAt == 0) {
        // Nothing to delete, unless someone wrote the note meanwhile.
        result.current = noteOf(peno, author);
        result.saved = result.current.revision == 0;
        result.refused = !result.saved && !result.current.mine;
        return result;
    }
    if (erase) {
        r = m_connection.query(QStringLiteral("DELETE FROM kvelta.notes WHERE peno = $1 AND "
                                              "author = $2 AND revision = $3 AND owner = "
                                              "current_user RETURNING %1")
                                   .arg(QLatin1String(Columns)),
                               {peno, author, openedAt});
        if (r.rows() == 1) {
            result.saved = true;
            result.current.author = author;
            return result;
        }
    } else if (openedAt == 0) {
        r = m_connection.query(QStringLiteral("INSERT INTO kvelta.notes (peno, author, body) "
                                              "VALUES ($1, $2, $3) ON CONFLICT DO NOTHING "
                                              "RETURNING %1")
                                   .arg(QLatin1String(Columns)),
                               {peno, author, text});
    } else {
        r = m_connection.query(
            QStringLiteral(
                "UPDATE kvelta.notes SET body = $4, changed = now(), "
                "revision = nextval('kvelta.note_revision') "
                "WHERE peno = $1 AND author = $2 AND revision = $3 AND owner = current_user "
                "RETURNING %1")
                .arg(QLatin1String(Columns)),
            {peno, author, openedAt, text});
    }
    if (r.rows() == 1) {
        result.saved = true;
        result.current = noteAt(r, 0);
        return result;
    }
    // Changed or deleted since it was opened, or another login role's row
    // (the explicit owner test holds the table's owner, whom the policies do
    // not bind, to the same rule): report it as it is now.
    result.current = noteOf(peno, author);
    result.refused = result.current.revision != 0 && !result.current.mine;
    return result;
}

std::vector<qint64> PgNoteStore::firmsWithNotes()
{
    const PgResult r =
        m_connection.query(QStringLiteral("SELECT DISTINCT peno FROM kvelta.notes ORDER BY peno"));
    std::vector<qint64> penos;
    penos.reserve(size_t(r.rows()));
    for (int i = 0; i < r.rows(); ++i)
        penos.push_back(r.int64(i, 0));
    return penos;
}

} // namespace kv::engine
