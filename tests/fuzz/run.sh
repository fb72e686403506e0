#!/usr/bin/env bash
# Builds the fuzz targets with clang (build-fuzz/) and runs each for SECONDS.
#   tests/fuzz/run.sh SECONDS [target ...]
# Inputs the fuzzer finds go to build-fuzz/fuzz-work/<target>/ (the committed
# seeds in tests/fuzz/corpus/ are only read); a crash, hang, leak or failed
# check leaves its input in build-fuzz/fuzz-artifacts/<target>/ and makes the
# script fail.
set -uo pipefail
cd "$(dirname "$0")/../.."

SECONDS_EACH="${1:?usage: tests/fuzz/run.sh SECONDS [target ...]}"
shift
TARGETS=("$@")
if [[ ${#TARGETS[@]} -eq 0 ]]; then
  TARGETS=(oxo config tlvyber selection labelfile jetfilter picture cachecopy)
fi

BUILD=build-fuzz
LAUNCHER=()
if command -v ccache >/dev/null; then
  LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
if [[ ! -f "$BUILD/CMakeCache.txt" ]]; then
  cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_COMPILER=clang -DKV_FUZZ=ON -DKV_BENCH=OFF "${LAUNCHER[@]}" >/dev/null || exit 1
fi
cmake --build "$BUILD" -j"$(nproc)" >/dev/null || {
  echo "fuzz build failed" >&2
  exit 1
}

export QT_QPA_PLATFORM=offscreen
failed=()
for t in "${TARGETS[@]}"; do
  exe="$BUILD/tests/fuzz/fuzz_$t"
  work="$BUILD/fuzz-work/$t"
  artifacts="$BUILD/fuzz-artifacts/$t"
  mkdir -p "$work" "$artifacts"
  seeds=()
  [[ -d tests/fuzz/corpus/$t ]] && seeds=("tests/fuzz/corpus/$t")
  echo "fuzz_$t: ${SECONDS_EACH}s"
  if "$exe" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$work" "${seeds[@]}" >"$BUILD/fuzz-$t.log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$BUILD/fuzz-$t.log" | sed 's/^/  /'
  else
    echo "  FAILED, see $BUILD/fuzz-$t.log and $artifacts/" >&2
    grep -E 'ERROR|fuzz check failed|SUMMARY' "$BUILD/fuzz-$t.log" | head -5 >&2
    failed+=("$t")
  fi
done
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzzing found faults in: ${failed[*]}" >&2
  exit 1
fi
echo "no faults found"
