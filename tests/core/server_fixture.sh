#!/bin/sh
# Starts or stops the federation server that the tests through a server share (the core
# tests' second run, the demo in processes), with the launcher of the build tree.
#   server_fixture.sh start LAUNCHER PORT DIR   # returns once it listens; its log in DIR
#   server_fixture.sh stop DIR
set -u
case "$1" in
  start)
    launcher=$2 port=$3 dir=$4
    mkdir -p "$dir"
    if [ -f "$dir/server.pid" ]; then kill "$(cat "$dir/server.pid")" 2>/dev/null; fi
    # The launcher execs the Java runtime: its process is the server's.
    "$launcher" --port "$port" --save-dir "$dir/saves" >"$dir/server.log" 2>&1 &
    echo $! >"$dir/server.pid"
    for _ in $(seq 1 150); do
      if grep -q "listening on" "$dir/server.log" 2>/dev/null; then exit 0; fi
      if ! kill -0 "$(cat "$dir/server.pid")" 2>/dev/null; then break; fi
      sleep 0.1
    done
    echo "the federation server did not start:" >&2
    cat "$dir/server.log" >&2
    exit 1
    ;;
  stop)
    dir=$2
    if [ -f "$dir/server.pid" ]; then
      kill "$(cat "$dir/server.pid")" 2>/dev/null
      rm -f "$dir/server.pid"
    fi
    exit 0
    ;;
esac
echo "usage: server_fixture.sh start LAUNCHER PORT DIR | stop DIR" >&2
exit 2
