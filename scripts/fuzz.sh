#!/usr/bin/env bash
# Builds the fuzz targets (clang, ASan, UBSan) in build-fuzz/ and runs each of them for
# RUNS iterations (default one million), one after another, from an empty corpus.
# Usage: scripts/fuzz.sh [RUNS]. Prints the executions of each target; stops at the first
# target that finds a failure (its crash-* input is left in build-fuzz/findings/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-1000000}
CXX=clang++ "$root/scripts/build.sh" "$root/build-fuzz" -DOSTRA_BUILD_FUZZERS=ON \
  -DOSTRA_BUILD_TESTS=OFF -DOSTRA_BUILD_EXAMPLES=OFF -DOSTRA_BUILD_JAVA=OFF
findings="$root/build-fuzz/findings"
mkdir -p "$findings"
for target in "$root"/build-fuzz/fuzz/*_fuzz; do
  name=$(basename "$target")
  log="$findings/$name.log"
  if ! (cd "$findings" && "$target" -runs="$runs" -max_len=512 -print_final_stats=1 >"$log" 2>&1); then
    tail -n 40 "$log"
    echo "$name: FAILED (see $log)"
    exit 1
  fi
  executed=$(grep -E 'stat::number_of_executed_units' "$log" | awk '{print $2}')
  echo "$name: $executed executions, clean"
done
