#!/usr/bin/env bash
# Installs what playing needs, builds the game and the demo data generator (no tests or benchmarks), generates
# the demo data and starts the game on it.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh play
# A first configuration leaves tests and benchmarks out (their packages come with the test command's set-up); an
# existing build/ keeps the options it was configured with.
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORV_TESTS=OFF -DCORV_BENCH=OFF >/dev/null
fi
cmake --build build -j "$(nproc)" --target corvantis demodata
build/tools/demodata/demodata demo
exec build/corvantis --data_path "$PWD/demo"
