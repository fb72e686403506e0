#include "engine/PgNoteStore.h"

#include "core/Error.h"
#include "engine/PgConnection.h"

namespace kv::engine
{

namespace
{

// The columns every reading statement returns, in this order.
const char* const Columns = "author, body, (extract(epoch FROM changed) * 1000)::bigint, revision";

PgNoteStore::Note noteAt(const PgResult& r, int row)
{
    PgNoteStore::Note n;
    n.author = r.text(row, 0);
    n.text = r.text(row, 1);
    n.changed = QDateTime::fromMSecsSinceEpoch(r.int64(row, 2), Qt::UTC);
    n.revision = r.int64(row, 3);
    return n;
}

// Another session may create the same object at the same moment.
bool raceLost(const PgResult& r)
{
    const QString s = r.sqlState();
    return s == QLatin1String("23505") || s == QLatin1String("42P07") ||
           s == QLatin1String("42710") || s == QLatin1String("42P06");
}

} // namespace

void PgNoteStore::prepare()
{
    const QString role = m_connection.identifier(QString::fromLatin1(writerRole));
    if (m_connection
            .query(QStringLiteral("SELECT 1 FROM pg_catalog.pg_roles WHERE rolname = $1"),
                   {QString::fromLatin1(writerRole)})
            .rows() == 0) {
        const PgResult made =
            m_connection.tryQuery(QStringLiteral("CREATE ROLE %1 NOLOGIN").arg(role));
        if (!raceLost(made))
            m_connection.check(
                made,
                QStringLiteral("did not create the role %1").arg(QString::fromLatin1(writerRole)));
    }
    const QStringList steps = {
        QStringLiteral("CREATE SCHEMA IF NOT EXISTS kvelta"),
        QStringLiteral("CREATE SEQUENCE IF NOT EXISTS kvelta.note_revision"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS kvelta.notes ("
                       "peno bigint NOT NULL, "
                       "author text NOT NULL CHECK (author <> ''), "
                       "body text NOT NULL, "
                       "changed timestamptz NOT NULL DEFAULT now(), "
                       "revision bigint NOT NULL DEFAULT nextval('kvelta.note_revision'), "
                       "PRIMARY KEY (peno, author))"),
        QStringLiteral("GRANT USAGE ON SCHEMA kvelta TO %1").arg(role),
        QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON kvelta.notes TO %1").arg(role),
        QStringLiteral("GRANT USAGE, SELECT ON SEQUENCE kvelta.note_revision TO %1").arg(role),
    };
    for (const QString& step : steps) {
        const PgResult r = m_connection.tryQuery(step);
        if (!raceLost(r))
            m_connection.check(r, QStringLiteral("did not prepare the notes table"));
    }
}

bool PgNoteStore::ready()
{
    return m_connection.query(QStringLiteral("SELECT to_regclass('kvelta.notes') IS NOT NULL"))
               .text(0, 0) == QLatin1String("t");
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
        return result;
    }
    if (erase) {
        r = m_connection.query(QStringLiteral("DELETE FROM kvelta.notes WHERE peno = $1 AND "
                                              "author = $2 AND revision = $3 RETURNING %1")
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
            QStringLiteral("UPDATE kvelta.notes SET body = $4, changed = now(), "
                           "revision = nextval('kvelta.note_revision') "
                           "WHERE peno = $1 AND author = $2 AND revision = $3 RETURNING %1")
                .arg(QLatin1String(Columns)),
            {peno, author, openedAt, text});
    }
    if (r.rows() == 1) {
        result.saved = true;
        result.current = noteAt(r, 0);
        return result;
    }
    // Changed or deleted since it was opened: report it as it is now.
    result.current = noteOf(peno, author);
    return result;
}

} // namespace kv::engine
