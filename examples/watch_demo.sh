#!/bin/sh
# Runs mom_monitor beside the demo federation (four processes through the federation server
# at RTI) and checks that the monitor, which knows only the management objects, saw every
# demo federate with a logical time past the start, and left when the demo's federates met
# at Done, so that the last of them could destroy the federation.
# Usage: watch_demo.sh MOM_MONITOR DEMO RTI
monitor=$1 demo=$2 rti=$3
out=$(mktemp) || exit 1
trap 'rm -f "$out"' EXIT
"$monitor" --rti "$rti" --seconds 80 --leave-at Done Demo >"$out" 2>&1 &
pid=$!
if ! "$demo" --rti "$rti" >/dev/null 2>&1; then
  echo "the demo failed"
  kill "$pid" 2>/dev/null
  exit 1
fi
wait "$pid" || { cat "$out"; echo "mom_monitor failed"; exit 1; }
cat "$out"
for federate in cars trucks monitor radio; do
  grep -Eq "^$federate .*<[1-9][0-9]*>" "$out" || { echo "never saw $federate past time 0"; exit 1; }
done
grep -q "leaving at Done" "$out" || { echo "did not leave at Done"; exit 1; }
