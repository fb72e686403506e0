#!/usr/bin/env bash
# Every user action measured on one data home, as the table in README.md
# lists them.
#
#   bench/every_action.sh HOME [RUNS]
#
# HOME is a data home made by "kvelta make-demo HOME --firms N". The
# benchmark programs run twice with a cache folder of their own that starts
# empty: "cold" is the first run, which reads the rank columns and the long
# firm lists and remembers them there; "warm" is the second. Each line of
# the benchmarks is printed with the run's name and peak resident memory;
# then start-up to the first paint and kvelta count against sqlite3, each
# over RUNS whole processes (5 by default). The build must have been made
# with -DKV_BENCH=ON; BUILD names its folder (default: build beside this
# script's folder).
set -euo pipefail

home=${1:?usage: every_action.sh HOME [RUNS]}
runs=${2:-5}
here=$(cd "$(dirname "$0")" && pwd)
build=${BUILD:-$here/../build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/tmp"

echo "home $home, $(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg)"
for pass in cold warm; do
    for b in bench_selection bench_datamodule bench_list bench_report bench_export bench_dictionary; do
        env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
            XDG_CACHE_HOME="$work/home/.cache" TMPDIR="$work/tmp" \
            KV_BENCH_HOME="$home" QT_QPA_PLATFORM=offscreen \
            /usr/bin/time -f "peak %M KB" -o "$work/peak" "$build/bench/$b" 2>/dev/null |
            awk -v p="$pass" '/ ms | us / {print p ": " $0}'
        echo "$pass: $b $(cat "$work/peak")"
    done
done
KVELTA="$build/app/kvelta" "$here/startup_first_paint.sh" "$home" "$runs"
KVELTA="$build/app/kvelta" "$here/count_vs_sqlite.sh" "$home" "$runs"
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
