#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a short while on its seed corpus.
# A target named fuzz_X takes its seeds from fuzz/X/seeds (and any extra folders fuzz/X/seed-dirs lists).
set -eu
build=${1:-build-fuzz}; seconds=${FUZZ_SECONDS:-10}
root=$(cd "$(dirname "$0")/.." && pwd)
found=0
for exe in "$build"/fuzz/*.build/fuzz_*; do
  [ -x "$exe" ] || continue
  found=1
  name=$(basename "$exe"); name=${name#fuzz_}
  work=$(mktemp -d)
  dirs=("$work")
  [ -d "$root/fuzz/$name/seeds" ] && dirs+=("$root/fuzz/$name/seeds")
  if [ -f "$root/fuzz/$name/seed-dirs" ]; then
    while read -r d; do [ -n "$d" ] && [ -d "$root/$d" ] && dirs+=("$root/$d"); done <"$root/fuzz/$name/seed-dirs"
  fi
  echo "fuzz $name: ${seconds}s"
  "$exe" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=0 "${dirs[@]}" 2>"$work.log" \
    || { tail -n 60 "$work.log"; echo "fuzz $name: FINDING"; exit 1; }
  rm -rf "$work" "$work.log"
done
[ "$found" = 1 ] || echo "no fuzz targets built"
