#!/usr/bin/env bash
# Installs what is missing, builds the game, generates the demo data and starts the game on it.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
if [ -x build/tools/demodata/demodata ]; then build/tools/demodata/demodata demo; fi
exec build/corvantis --data_path "$PWD/demo"
