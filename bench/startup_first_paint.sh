#!/usr/bin/env bash
# Start-up of the desktop program to the first paint of its main window.
#
#   bench/startup_first_paint.sh HOME [RUNS]
#
# Runs "kvelta --home HOME" RUNS times (7 by default) on the offscreen
# platform with KVELTA_STARTUP_TIMING=quit, so each run ends right after the
# first paint, in a throw-away HOME, cache and temporary folder (no other
# instance answers the single-instance socket). Prints the medians of the
# whole process, of the program's own "first paint" mark and of the database
# opening, and the peak resident memory of one run. The first run after the
# database changed also checks its sort tables; it is reported on its own.
# KVELTA names the executable (default: build/app/kvelta beside this script);
# KV_BENCH_DB, a libpq connection string, has the program read the company
# data from that server (--db) instead of the home's file.
set -euo pipefail

home=${1:?usage: startup_first_paint.sh HOME [RUNS]}
runs=${2:-7}
here=$(cd "$(dirname "$0")" && pwd)
kvelta=${KVELTA:-$here/../build/app/kvelta}
db=()
[ -n "${KV_BENCH_DB:-}" ] && db=(--db "$KV_BENCH_DB")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/tmp"

run() {
    env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
        TMPDIR="$work/tmp" QT_QPA_PLATFORM=offscreen KVELTA_STARTUP_TIMING=quit \
        timeout 120 /usr/bin/time -f 'cpu %U %S peak %M KB' "$kvelta" --home "$home" ${db[@]+"${db[@]}"} --config "$work/KV2001.ini" "$@"
}
cpu() { awk '/^cpu / {printf "%d\n", ($2 + $3) * 1000}' "$1"; }
mark() { sed -n "s/^kvelta: $1 after \([0-9]*\) ms$/\1/p" "$2"; }
now() { date +%s%N; }

: >"$work/process"
: >"$work/paint"
: >"$work/open"
: >"$work/cpu"
for i in $(seq 0 "$runs"); do
    t=$(now)
    run 2>"$work/err" >/dev/null
    ms=$(( ($(now) - t) / 1000000 ))
    grep -q "first paint" "$work/err" || { cat "$work/err" >&2; exit 1; }
    if [ "$i" = 0 ]; then
        echo "first run (fresh cache): process ${ms} ms (CPU $(cpu "$work/err") ms)," \
            "first paint $(mark 'first paint of the main window' "$work/err") ms"
        continue
    fi
    echo "$ms" >>"$work/process"
    mark 'first paint of the main window' "$work/err" >>"$work/paint"
    mark 'database open' "$work/err" >>"$work/open"
    cpu "$work/err" >>"$work/cpu"
    peak=$(sed -n 's/.*\(peak .*\)/\1/p' "$work/err")
done
median() { sort -n "$1" | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : int((v[NR/2]+v[NR/2+1])/2)}'; }
echo "medians over $runs runs: process $(median "$work/process") ms (CPU $(median "$work/cpu") ms)," \
    "first paint $(median "$work/paint") ms, database open $(median "$work/open") ms; $peak"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
