#pragma once

#include "engine/PgResult.h"

#include <QString>
#include <QVariantList>
#include <functional>
#include <optional>

struct pg_conn;

namespace kv::engine
{

// One connection to a PostgreSQL server (RAII over PGconn). The connection
// string is a libpq keyword list ("host=/run/pg dbname=kv") or a URL
// (postgresql://user@host/db). Values travel as bound parameters only; the
// only text this class escapes is an identifier (identifier()).
//
// Every failure throws Error::engine with a message that says which of
// these it was: the server cannot be reached (down, wrong socket or host),
// the server refused the login (unknown role, wrong password, no such
// database), the connection was lost, or the server rejected a command.
// Messages never repeat the connection string, which may hold a password.
//
// Connecting and every statement wait for the server without blocking in
// libpq: the thread's PgWaitHook, if any, runs meanwhile and may cancel.
// A cancelled statement throws Error::engine with the hook's message and
// leaves the connection usable (inside a transaction, the transaction has
// failed, as after any rejected statement); a cancelled connection attempt
// throws the same. A connection string without connect_timeout gets 10 s.
class PgConnection
{
public:
    explicit PgConnection(const QString& conninfo);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // Runs commands without parameters or results (several may be separated by ';').
    void exec(const QString& sql);
    // One command with parameters $1, $2 ... bound to params (null, integer or text).
    PgResult query(const QString& sql, const QVariantList& params = {});
    // Like query, but a command the server rejects is returned (sqlState() set)
    // instead of thrown; a lost connection still throws.
    PgResult tryQuery(const QString& sql, const QVariantList& params = {});

    // Creates the NOLOGIN role `name` unless it exists. Roles belong to the
    // whole server, so another session may create it at the same moment;
    // losing that race counts as success. Returns nothing then, else the
    // server's refusal for the caller to judge (check() reports it).
    std::optional<PgResult> ensureRole(const QString& name);

    // "name" quoted for use as a table, column or schema name.
    QString identifier(const QString& name) const;
    // Where and as whom: 'user "kvadmin", database "kv" on socket "/run/pg"'.
    QString describe() const;
    pg_conn* handle() const { return m_conn; }
    // Whether the server ended the session or the network lost it: every
    // later statement fails the same way, only a new connection helps.
    bool lost() const;

    // Sends a command with start (a PQsend... call that returns 1 when the
    // command went out) and waits for its results as query() does; returns
    // the last result, or the failed one, unchecked. For PgStatement.
    PgResult submit(const std::function<int(pg_conn*)>& start);

    // Throws for a result that is not a success (or null): a lost
    // connection, else the server's message with its SQLSTATE.
    void check(const PgResult& result, const QString& what) const;

private:
    PgResult run(const QString& sql, const QVariantList& params);
    // Drives the attempt PQconnectStartParams began; false when it failed.
    bool connect();
    pg_conn* m_conn = nullptr;
    bool m_busy = false;
};

} // namespace kv::engine
