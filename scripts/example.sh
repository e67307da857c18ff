#!/usr/bin/env bash
# Sets everything up, builds the library, and runs the first example federate.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
"$root/build/examples/first_federate"
