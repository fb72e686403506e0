#!/usr/bin/env bash
# Fails when a file of the program includes a third-party header outside the
# one layer allowed to see it: Qt Widgets and Print Support only in ui/,
# sqlite3.h and libpq only in engine/, libmdb only in jetimport/. Includes between our
# own layers are checked by the build itself (see kv_layer in CMakeLists.txt).
# Tests, fuzz targets and benchmarks may build fixtures with any of them.
set -uo pipefail
cd "$(dirname "$0")/.."
layers=(core engine jetimport domain reports demo ui cli app)
widgets=$(ls /usr/include/*/qt6/QtWidgets /usr/include/*/qt6/QtPrintSupport 2>/dev/null \
  | grep -E '^Q[A-Z][A-Za-z]*$' | sort -u)
if [[ -z "$widgets" ]]; then
  echo "check-layers: Qt Widgets headers not found" >&2
  exit 2
fi
pattern_widgets="#include *<(QtWidgets/|QtPrintSupport/)?($(echo "$widgets" | paste -sd'|'))>"
fail=0
report() { # layer-allowed pattern description
  local allowed=$1 pattern=$2 what=$3 hits
  for layer in "${layers[@]}"; do
    [[ "$layer" == "$allowed" ]] && continue
    hits=$(git grep -nE "$pattern" -- "$layer/" 2>/dev/null)
    if [[ -n "$hits" ]]; then
      echo "$what may be included only in $allowed/:" >&2
      echo "$hits" >&2
      fail=1
    fi
  done
}
report ui "$pattern_widgets" "Qt Widgets and Print Support headers"
report engine '#include *<sqlite3(ext)?\.h>' "sqlite3.h"
report engine '#include *[<"](postgresql/)?(libpq-fe|libpq-events|libpq/[A-Za-z_-]+)\.h[>"]' "libpq headers"
report jetimport '#include *<mdb(tools|sql)?\.h>' "libmdb headers"
exit $fail
