#!/usr/bin/env bash
# Configures and builds one build tree: everything, or only the targets named with
# --target=NAME (and what they need). Usage: scripts/build.sh DIR [--target=NAME...] [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
targets=()
options=()
for argument in "$@"; do
  case $argument in
    --target=*) targets+=(--target "${argument#--target=}") ;;
    *) options+=("$argument") ;;
  esac
done
generator=()
if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$dir" "${generator[@]}" "${options[@]}"
else
  cmake -S "$root" -B "$dir" "${options[@]}" >/dev/null
fi
cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
