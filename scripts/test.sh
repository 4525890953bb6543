#!/usr/bin/env bash
# Builds and runs every test: the normal build, the ASan/UBSan build, and each fuzz target
# briefly on its seed corpus. GL and window tests run under Xvfb.
set -eu
cd "$(dirname "$0")/.."
jobs=$(nproc)
export SDL_AUDIODRIVER=dummy

run_ctest() { # build-dir
  xvfb-run -a -s "-screen 0 1366x768x24" ctest --test-dir "$1" --output-on-failure -j "$jobs"
}

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
run_ctest build

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCORV_SANITIZE=ON -DCORV_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
# SDL's video start-up leaks one libdbus buffer in every process that opens a window.
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 \
  run_ctest build-asan

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORV_FUZZ=ON \
  -DCORV_TESTS=OFF -DCORV_BENCH=OFF -DCORV_TOOLS=OFF >/dev/null
cmake --build build-fuzz -j "$jobs" --target fuzz_all
scripts/fuzz-smoke.sh build-fuzz
