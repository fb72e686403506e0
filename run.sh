#!/usr/bin/env bash
# Installs what is missing, builds, makes a demo data home when none is
# configured, and starts Kvelta 2001.
#   ./run.sh [kvelta arguments...]
#   ./run.sh --package     builds build/kvelta_<version>_<arch>.deb instead
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh

if [[ "${1:-}" == "--package" ]]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)" --target kvelta >/dev/null
  (cd build && cpack -G DEB >/dev/null)
  deb=$(ls -t build/kvelta_*.deb | head -n 1)
  echo "Package: $deb"
  echo "Install it with: sudo apt-get install ./$deb"
  exit 0
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target kvelta 2>&1 | grep -E 'error|warning' || true
cmake --build build -j"$(nproc)" --target kvelta >/dev/null
KVELTA=build/app/kvelta

home=$("$KVELTA" home 2>/dev/null || true)
if [[ -z "$home" ]]; then
  home="${XDG_DATA_HOME:-$HOME/.local/share}/Lumora/KV2001-demo"
  if [[ ! -f "$home/Dta/KV2001.db" ]]; then
    echo "No data home is configured: making a demo data home in $home"
    "$KVELTA" make-demo "$home" --firms 20000 --force
  fi
  "$KVELTA" home --set "$home"
  echo "Data home set to $home"
fi

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display is available, so the desktop program cannot start here."
  echo "Under X11 or Wayland run ./run.sh again; without a screen try xvfb-run ./run.sh."
  echo "What works headless, on the data home $home:"
  echo "  $KVELTA count --home $home FILE.kvv     firms a saved selection finds"
  echo "  $KVELTA export --home $home -o OUT.txt  export firms (at most 5000) to a text file"
  echo "  $KVELTA oxo-dump FILE             lines of a settings file (.ini, .kvv, .kl)"
  echo "  $KVELTA make-demo DIR --firms N   a new demo data home"
  echo "  sqlite3 $home/Dta/KV2001.db 'select count(*) from firma'"
  printf 'Firms in the demo data home: '
  sqlite3 "$home/Dta/KV2001.db" 'select count(*) from firma' 2>/dev/null || echo "?"
  exit 0
fi
exec "$KVELTA" "$@"
