#!/usr/bin/env bash
# Builds and runs every test in one clang tree with AddressSanitizer and UndefinedBehaviorSanitizer: every test
# program runs under both sanitizers, and the same coverage-instrumented libraries link the fuzz targets, which
# then run briefly on their seed corpora. Benchmarks and tools are built too. GL and window tests run under Xvfb.
# Prints a "== <stage>" line as each stage starts and ends with "<N> passed, <M> failed".
set -u
cd "$(dirname "$0")/.."
root=$PWD
build=build-test
jobs=$(nproc)
export SDL_AUDIODRIVER=dummy
log=$(mktemp)
trap 'rm -f "$log"' EXIT
passed=0
failed=0

finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ] || exit 1
  exit 0
}
stage_failed() { # message
  echo "$1"
  failed=$((failed + 1))
  finish
}

echo "== configure"
# -O1 is what the sanitizers are made for; line tables are all their reports need, and full debug information
# would double the compile time. lld links the ~100 programs faster than the default linker where it is installed.
linker=()
command -v ld.lld >/dev/null && linker=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS_DEBUG="-O1 -gline-tables-only" -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" \
  -DCORV_SANITIZE=ON -DCORV_FUZZ=ON "${linker[@]}" "${launcher[@]}" >"$log" 2>&1 \
  || { cat "$log"; stage_failed "configure failed"; }

echo "== build"
cmake --build "$build" -j "$jobs" || stage_failed "build failed"

echo "== sanitizer tests"
# SDL's video start-up leaks one libdbus buffer in every process that opens a window.
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 \
  xvfb-run -a -s "-screen 0 1366x768x24" ctest --test-dir "$build" --output-on-failure -j "$jobs" 2>&1 | tee "$log"
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
if [ -z "$summary" ]; then
  failed=$((failed + 1))
  echo "ctest ended without a summary"
else
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.*, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
fi

echo "== fuzz smoke"
scripts/fuzz-smoke.sh "$build" 2>&1 | tee "$log"
fuzz_status=${PIPESTATUS[0]}
findings=$(grep -c ': FINDING$' "$log")
passed=$((passed + $(grep -c ': passed$' "$log")))
failed=$((failed + findings))
# A smoke run that failed without naming a target (no targets built, say) still fails the command.
[ "$fuzz_status" -eq 0 ] || [ "$findings" -gt 0 ] || failed=$((failed + 1))
finish
