#pragma once

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace kv::engine
{

class PgConnection;

// The selections an office saves on its PostgreSQL server: the table
// kvelta.selections (name, author, saved time, the selection record as a
// selection file holds it). It lives beside kvelta.version and outside the
// directory's versions, so loads leave it alone. Members of the role
// kvelta_selections read every saved selection and add, replace or delete
// only their own (row-level security on the author, who is the login role).
// Values are always bound parameters.
class PgSelectionStore
{
public:
    static constexpr const char* userRole = "kvelta_selections";
    static constexpr const char* table = "kvelta.selections";
    static constexpr int MaxNameLength = 10000;

    struct Entry {
        QString name;
        QString author;
        QDateTime savedAt; // UTC
    };

    enum class Outcome {
        Saved,    // a new name
        Replaced, // the caller's own selection of that name, with replace set
        Exists,   // the caller's own selection of that name; nothing changed
        Foreign,  // another author's selection of that name; nothing changed
    };
    struct SaveResult {
        Outcome outcome;
        Entry entry; // the row as it is now (for Exists and Foreign: the one in the way)
    };

    explicit PgSelectionStore(PgConnection& connection) : m_connection(connection) {}

    // Why name cannot be a saved selection's name (empty, only spaces,
    // control characters, longer than MaxNameLength); empty when it can.
    static QString nameProblem(const QString& name);

    // Creates what is missing: the role kvelta_selections (needs CREATEROLE),
    // the schema kvelta, the table with its policies and grants (needs
    // CREATE on the database). Does nothing when the table exists.
    void ensureTable();
    bool tableExists();

    // Every saved selection, names in Czech order. None before the first save.
    std::vector<Entry> list();
    // The record saved under name; nullopt when there is none.
    std::optional<QString> content(const QString& name);
    // Saves record under name, creating the table on first use. A name the
    // server already holds is replaced only when replace is set and it is
    // the caller's own; otherwise the result says whose it is. Throws
    // Error::engine for a refused name (nameProblem) and server failures.
    SaveResult save(const QString& name, const QString& record, bool replace);

private:
    Entry entryOf(const QString& name);
    void ensureRole();
    [[noreturn]] void failNotAllowed(const QString& what);
    PgConnection& m_connection;
};

} // namespace kv::engine
