#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   ./test.sh             plain build in build/
#   ./test.sh --sanitize  AddressSanitizer + UBSan build in build-asan/
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh

BUILD=build
EXTRA=()
if [[ "${1:-}" == "--sanitize" ]]; then
  BUILD=build-asan
  EXTRA=(-DKV_SANITIZE=ON -DKV_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
  # LeakSanitizer's tracer crashes here when it scans thread-local storage;
  # what system libraries keep only there is suppressed (see the file).
  export LSAN_OPTIONS="use_tls=0:print_suppressions=0:suppressions=$PWD/tests/support/lsan.supp"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${EXTRA[@]}" >/dev/null
cmake --build "$BUILD" -j"$(nproc)" 2>&1 | grep -vE '^\[ *[0-9]+%\]|^(Scanning|Consolidate|Built target|Automatic MOC|AutoMoc|AutoRcc)' || true
# fail loudly if the build failed (grep above hides nothing but progress lines)
cmake --build "$BUILD" -j"$(nproc)" >/dev/null
export QT_QPA_PLATFORM=offscreen
cd "$BUILD"
ctest --output-on-failure -j"$(nproc)"
