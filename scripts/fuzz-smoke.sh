#!/usr/bin/env bash
# Runs every fuzz target of a build for a short while on its seed corpus, FUZZ_JOBS targets at a time (each
# target is one process on one core). Prints "fuzz <name>: passed" or "fuzz <name>: FINDING" per target and
# exits non-zero when any target found something.
# A target named fuzz_X takes its seeds from fuzz/X/seeds (and any extra folders fuzz/X/seed-dirs lists).
set -eu
build=${1:-build-test}; seconds=${FUZZ_SECONDS:-10}; jobs=${FUZZ_JOBS:-$(nproc)}
root=$(cd "$(dirname "$0")/.." && pwd)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

fuzz_one() { # exe
  local exe=$1 name work dirs d
  name=$(basename "$exe"); name=${name#fuzz_}
  work=$(mktemp -d -p "$logs")
  dirs=("$work")
  [ -d "$root/fuzz/$name/seeds" ] && dirs+=("$root/fuzz/$name/seeds")
  if [ -f "$root/fuzz/$name/seed-dirs" ]; then
    while read -r d; do [ -n "$d" ] && [ -d "$root/$d" ] && dirs+=("$root/$d"); done <"$root/fuzz/$name/seed-dirs"
  fi
  if "$exe" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=0 "${dirs[@]}" \
    >"$logs/$name.log" 2>&1; then
    echo "fuzz $name: passed"
  else
    tail -n 60 "$logs/$name.log"
    echo "fuzz $name: FINDING"
    return 1
  fi
}

targets=()
for exe in "$build"/fuzz/*.build/fuzz_*; do [ -x "$exe" ] && targets+=("$exe"); done
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets built"
  exit 1
fi
echo "${#targets[@]} fuzz targets, ${seconds}s each, $jobs at a time"
status=0
running=0
for exe in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  fuzz_one "$exe" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
exit $status
