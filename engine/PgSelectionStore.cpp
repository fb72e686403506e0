#include "engine/PgSelectionStore.h"

#include "core/Error.h"
#include "engine/PgConnection.h"
#include "engine/PgCzechCollation.h"
#include "engine/PgTransaction.h"

namespace kv::engine
{

namespace
{

const QString kColumns =
    QStringLiteral("name, author, (extract(epoch FROM saved_at) * 1000)::bigint AS saved_ms");

QString currentUser(PgConnection& c)
{
    return c.query(QStringLiteral("SELECT current_user::text")).text(0, 0);
}

} // namespace

QString PgSelectionStore::nameProblem(const QString& name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("the name of a saved selection must not be empty");
    if (name.size() > MaxNameLength)
        return QStringLiteral("the name of a saved selection is longer than %1 characters")
            .arg(MaxNameLength);
    for (const QChar ch : name)
        if (ch.category() == QChar::Other_Control)
            return QStringLiteral("the name of a saved selection must not hold control characters");
    return QString();
}

void PgSelectionStore::failNotAllowed(const QString& what)
{
    throw Error::engine(
        QStringLiteral("PostgreSQL: %1 may not %2; an administrator grants the role %3 "
                       "(or sets saved selections up with kvelta db load)")
            .arg(m_connection.describe(), what, QLatin1String(userRole)));
}

bool PgSelectionStore::tableExists()
{
    // From the catalogue, which anyone may read: to_regclass would fail for a
    // role without access to the schema before it could be told what it lacks.
    return m_connection
               .query(QStringLiteral(
                   "SELECT 1 FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON "
                   "n.oid = c.relnamespace WHERE n.nspname = 'kvelta' AND c.relname = "
                   "'selections'"))
               .rows() > 0;
}

void PgSelectionStore::ensureRole()
{
    const QString role = QString::fromLatin1(userRole);
    const auto refused = m_connection.ensureRole(role);
    if (!refused)
        return;
    if (refused->sqlState() == QLatin1String("42501"))
        failNotAllowed(QStringLiteral("create the role %1").arg(role));
    m_connection.check(*refused, QStringLiteral("did not create the role %1").arg(role));
}

void PgSelectionStore::ensureTable()
{
    if (tableExists())
        return;
    PgCzechCollation::require(m_connection);
    ensureRole();
    PgTransaction tx(m_connection);
    // One creator at a time; a second one finds the table made.
    m_connection.query(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext($1))"),
                       {QString::fromLatin1(table)});
    if (tableExists())
        return;
    const QString role = m_connection.identifier(QString::fromLatin1(userRole));
    // A hash exclusion keeps names unique at any length (a B-tree entry is
    // limited to about 2,700 bytes). The author is the login role that
    // saved; the policies let a member touch only rows of its own.
    const PgResult made = m_connection.tryQuery(
        QStringLiteral(
            "CREATE SCHEMA IF NOT EXISTS kvelta;"
            "CREATE TABLE kvelta.selections ("
            " name text %2 NOT NULL CHECK (btrim(name) <> '' AND char_length(name) <= %3),"
            " author text NOT NULL DEFAULT current_user,"
            " saved_at timestamptz NOT NULL DEFAULT now(),"
            " content text NOT NULL,"
            " CONSTRAINT selections_name_unique EXCLUDE USING hash (name WITH =));"
            "ALTER TABLE kvelta.selections ENABLE ROW LEVEL SECURITY;"
            "CREATE POLICY read_all ON kvelta.selections FOR SELECT TO %1 USING (true);"
            "CREATE POLICY add_own ON kvelta.selections FOR INSERT TO %1"
            " WITH CHECK (author = current_user);"
            "CREATE POLICY change_own ON kvelta.selections FOR UPDATE TO %1"
            " USING (author = current_user) WITH CHECK (author = current_user);"
            "CREATE POLICY delete_own ON kvelta.selections FOR DELETE TO %1"
            " USING (author = current_user);"
            "GRANT USAGE ON SCHEMA kvelta TO %1;"
            "GRANT SELECT, INSERT, UPDATE, DELETE ON kvelta.selections TO %1")
            .arg(role, PgCzechCollation::clause())
            .arg(MaxNameLength));
    if (made.sqlState() == QLatin1String("42501"))
        failNotAllowed(QStringLiteral("create the table %1").arg(QLatin1String(table)));
    m_connection.check(made,
                       QStringLiteral("did not create the table %1").arg(QLatin1String(table)));
    tx.commit();
}

std::vector<PgSelectionStore::Entry> PgSelectionStore::list()
{
    std::vector<Entry> out;
    if (!tableExists())
        return out;
    const PgResult rows = m_connection.tryQuery(
        QStringLiteral("SELECT %1 FROM kvelta.selections ORDER BY name, author").arg(kColumns));
    if (rows.sqlState() == QLatin1String("42501"))
        failNotAllowed(QStringLiteral("read the saved selections"));
    m_connection.check(rows, QStringLiteral("did not list the saved selections"));
    for (int r = 0; r < rows.rows(); ++r)
        out.push_back({rows.text(r, 0), rows.text(r, 1),
                       QDateTime::fromMSecsSinceEpoch(rows.int64(r, 2), Qt::UTC)});
    return out;
}

std::optional<QString> PgSelectionStore::content(const QString& name)
{
    if (!tableExists())
        return std::nullopt;
    const PgResult row = m_connection.tryQuery(
        QStringLiteral("SELECT content FROM kvelta.selections WHERE name = $1"), {name});
    if (row.sqlState() == QLatin1String("42501"))
        failNotAllowed(QStringLiteral("read the saved selections"));
    m_connection.check(row, QStringLiteral("did not read a saved selection"));
    if (row.rows() == 0)
        return std::nullopt;
    return row.text(0, 0);
}

PgSelectionStore::Entry PgSelectionStore::entryOf(const QString& name)
{
    const PgResult row = m_connection.query(
        QStringLiteral("SELECT %1 FROM kvelta.selections WHERE name = $1").arg(kColumns), {name});
    if (row.rows() == 0)
        return {};
    return {row.text(0, 0), row.text(0, 1),
            QDateTime::fromMSecsSinceEpoch(row.int64(0, 2), Qt::UTC)};
}

PgSelectionStore::SaveResult PgSelectionStore::save(const QString& name, const QString& record,
                                                    bool replace)
{
    if (const QString problem = nameProblem(name); !problem.isEmpty())
        throw Error::engine(problem);
    ensureTable();
    PgTransaction tx(m_connection);
    if (replace) {
        // Only the caller's own row passes the policy (and the author test,
        // for an owner or superuser whom the policies do not bind).
        const PgResult changed = m_connection.tryQuery(
            QStringLiteral("UPDATE kvelta.selections SET content = $2, saved_at = now() "
                           "WHERE name = $1 AND author = current_user RETURNING %1")
                .arg(kColumns),
            {name, record});
        if (changed.sqlState() == QLatin1String("42501"))
            failNotAllowed(QStringLiteral("save selections"));
        m_connection.check(changed, QStringLiteral("did not replace a saved selection"));
        if (changed.rows() == 1) {
            const Entry entry{changed.text(0, 0), changed.text(0, 1),
                              QDateTime::fromMSecsSinceEpoch(changed.int64(0, 2), Qt::UTC)};
            tx.commit();
            return {Outcome::Replaced, entry};
        }
    }
    const PgResult added = m_connection.tryQuery(
        QStringLiteral("INSERT INTO kvelta.selections (name, author, content) "
                       "VALUES ($1, current_user, $2) ON CONFLICT DO NOTHING RETURNING %1")
            .arg(kColumns),
        {name, record});
    if (added.sqlState() == QLatin1String("42501"))
        failNotAllowed(QStringLiteral("save selections"));
    m_connection.check(added, QStringLiteral("did not save a selection"));
    if (added.rows() == 1) {
        const Entry entry{added.text(0, 0), added.text(0, 1),
                          QDateTime::fromMSecsSinceEpoch(added.int64(0, 2), Qt::UTC)};
        tx.commit();
        return {Outcome::Saved, entry};
    }
    const Entry there = entryOf(name);
    tx.commit();
    return {there.author == currentUser(m_connection) ? Outcome::Exists : Outcome::Foreign, there};
}

} // namespace kv::engine
