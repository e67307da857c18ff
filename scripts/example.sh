#!/usr/bin/env bash
# Sets everything up, builds the library and the examples, and runs the demo federation.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
# An installed federate finds the installed jar by itself; from the build tree we name it.
CLASSPATH="${CLASSPATH:+$CLASSPATH:}$root/build/java/ostra1516e.jar" "$root/build/examples/demo" "$@"
