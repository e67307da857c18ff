#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: the full suite in build/, then the
# unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/,
# then a short bounded run of every fuzz target (clang, both sanitizers) in build-fuzz/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
"$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DOSTRA_SANITIZE=ON \
  -DOSTRA_BUILD_EXAMPLES=OFF
CXX=clang++ "$root/scripts/build.sh" "$root/build-fuzz" -DOSTRA_BUILD_FUZZERS=ON \
  -DOSTRA_BUILD_TESTS=OFF -DOSTRA_BUILD_EXAMPLES=OFF -DOSTRA_BUILD_JAVA=OFF

export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
summary=()
for dir in build build-asan build-fuzz; do
  log="$root/$dir/ctest.log"
  if ctest --test-dir "$root/$dir" --output-on-failure --parallel "$(nproc)" 2>&1 | tee "$log"; then :; else status=1; fi
  summary+=("$dir: $(grep -E 'tests passed' "$log" | tail -n 1)")
done
printf '%s\n' "${summary[@]}"
passed=0; failed=0
for dir in build build-asan build-fuzz; do
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$root/$dir/ctest.log" | tail -n 1 || true)
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*, ([0-9]+) tests failed.*/\1/' <<<"$line")
  if [ -z "$line" ]; then status=1; continue; fi
  passed=$((passed + total - bad)); failed=$((failed + bad))
done
echo "all: $passed passed, $failed failed"
exit $status
