#!/usr/bin/env bash
# A private PostgreSQL server for the tests that need one.
#   pg-server.sh start STATE   initdb + pg_ctl start; writes STATE/conninfo
#   pg-server.sh stop STATE    stops the server and removes its files
# The cluster lives in a fresh folder below /tmp (short socket paths) and
# listens on a Unix socket there only, never on TCP. initdb refuses root, so
# as root the server runs as an unprivileged user (postgres, else kvelta-pg,
# created here). Superuser kvadmin logs in without a password; the role
# kv_locked needs the password in STATE/password (tests of a refused login).
set -uo pipefail
unset PGDATA PGHOST PGHOSTADDR PGPORT PGUSER PGDATABASE PGPASSWORD PGSERVICE PGOPTIONS

action=${1:-}
state=${2:-}
if [[ -z "$action" || -z "$state" ]]; then
  echo "usage: $0 start|stop STATE_DIR" >&2
  exit 2
fi

bindir() {
  local d
  for d in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
    [[ -x "$d/initdb" && -x "$d/pg_ctl" ]] && { echo "$d"; return 0; }
  done
  return 1
}

# Runs a command as the server's user.
as_owner() {
  if [[ -n "${owner:-}" ]]; then
    (cd "$data" && runuser -u "$owner" -- "$@")
  else
    (cd "$data" && "$@")
  fi
}

stop_server() {
  [[ -f "$state/datadir" ]] || return 0
  data=$(cat "$state/datadir")
  owner=$(cat "$state/owner" 2>/dev/null || true)
  if [[ -d "$data/db" && -x "${bin:-}/pg_ctl" ]]; then
    as_owner "$bin/pg_ctl" -D "$data/db" -m fast -w -t 60 stop >/dev/null 2>&1 ||
      as_owner "$bin/pg_ctl" -D "$data/db" -m immediate -w -t 30 stop >/dev/null 2>&1 || true
  fi
  case "$data" in
    /tmp/kvpg.*|"${TMPDIR:-/tmp}"/kvpg.*) rm -rf -- "$data" ;;
  esac
  rm -f -- "$state/datadir" "$state/owner" "$state/conninfo" "$state/password"
}

fail() {
  echo "pg-server: $*" >&2
  for log in "$data/initdb.log" "$data/server.log" "$data/setup.log"; do
    [[ -s "$log" ]] && { echo "--- $log" >&2; tail -n 30 "$log" >&2; }
  done
  stop_server
  exit 1
}

bin=$(bindir) || { echo "pg-server: no PostgreSQL server below /usr/lib/postgresql (package postgresql)" >&2; exit 1; }
mkdir -p "$state" || exit 1
state=$(cd "$state" && pwd)

case "$action" in
  stop)
    stop_server
    exit 0
    ;;
  start) ;;
  *)
    echo "usage: $0 start|stop STATE_DIR" >&2
    exit 2
    ;;
esac

stop_server # a server left by a run that was killed
data=$(mktemp -d /tmp/kvpg.XXXXXX) || exit 1
echo "$data" >"$state/datadir"
owner=""
if [[ $(id -u) -eq 0 ]]; then
  if id postgres >/dev/null 2>&1; then
    owner=postgres
  else
    id kvelta-pg >/dev/null 2>&1 ||
      useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin kvelta-pg ||
      fail "cannot create the user kvelta-pg"
    owner=kvelta-pg
  fi
  echo "$owner" >"$state/owner"
  chown "$owner" "$data" || fail "cannot give $data to $owner"
fi
chmod 700 "$data"
sock="$data/sock"
as_owner mkdir "$sock" || fail "cannot create $sock"

as_owner "$bin/initdb" -D "$data/db" -U kvadmin -E UTF8 --no-locale --auth=trust --no-sync \
  >"$data/initdb.log" 2>&1 || fail "initdb failed"
# Password login for kv_locked, everyone else is trusted (local socket only).
as_owner sh -c "printf 'local all kv_locked scram-sha-256\nlocal all all trust\n' >'$data/db/pg_hba.conf'" ||
  fail "cannot write pg_hba.conf"
as_owner "$bin/pg_ctl" -D "$data/db" -l "$data/server.log" -w -t 60 \
  -o "-c listen_addresses='' -c unix_socket_directories='$sock' -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c dynamic_shared_memory_type=mmap -c max_connections=60" \
  start >/dev/null 2>&1 || fail "the server did not start"

password="kv-$RANDOM-$RANDOM"
as_owner "$bin/psql" -X -q -v ON_ERROR_STOP=1 -h "$sock" -U kvadmin -d postgres \
  -c "CREATE ROLE kv_locked LOGIN PASSWORD '$password'" >"$data/setup.log" 2>&1 ||
  fail "cannot create the test roles"
echo "$password" >"$state/password"
echo "host=$sock port=5432 user=kvadmin dbname=postgres" >"$state/conninfo"
echo "pg-server: running on $sock ($bin, data $data${owner:+, user $owner})"
