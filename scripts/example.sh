#!/usr/bin/env bash
# Sets everything up, builds what the demo needs (the two libraries, the RTI core's jar with
# the federation server, and the example federates; no tests), starts a federation server
# from the build tree and runs the demo federation through it, each federate its own
# process. Arguments go to the demo (the path of an object model module). The server is
# stopped however this script ends; its log is shown only when something failed.
# scripts/test.sh later builds the rest of the same tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  --target=rti1516e64 --target=fedtime1516e64 --target=ostra1516e_jar \
  --target=demo --target=publisher --target=subscriber --target=pubsub_pair --target=first_federate

log=$(mktemp)
server=
finish() {
  local status=$?
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  if [ "$status" -ne 0 ] && [ -s "$log" ]; then
    echo "the federation server's log:" >&2
    cat "$log" >&2
  fi
  rm -f "$log"
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Port 0: the server takes a free port and says which. The demo's federation save goes to
# build/saves/Demo/.
"$build/java/ostra-rti" --port 0 --save-dir "$build/saves" >"$log" 2>&1 &
server=$!
port=
for _ in $(seq 150); do
  port=$(sed -n 's/.* listening on 127\.0\.0\.1:\([0-9][0-9]*\)$/\1/p' "$log")
  if [ -n "$port" ] || ! kill -0 "$server" 2>/dev/null; then break; fi
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "example: the federation server build/java/ostra-rti did not listen within 15 seconds" >&2
  exit 1
fi
echo "example: the federation server build/java/ostra-rti listens on 127.0.0.1:$port"

# An installed federate finds the installed jar by itself; from the build tree we name it.
CLASSPATH="${CLASSPATH:+$CLASSPATH:}$build/java/ostra1516e.jar" \
  "$build/examples/demo" --rti "rti://127.0.0.1:$port" "$@"
