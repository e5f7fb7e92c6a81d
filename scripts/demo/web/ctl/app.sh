#!/usr/bin/env bash
# The demonstration application, shared by the ws_*.sh scripts beside it:
#   app.sh start PATCH PORT   unpacks the patch into app/ and serves it on 127.0.0.1:PORT
#   app.sh stop               stops the application started last
# The server runs in a session of its own, its output in app.log, so the deployer's command ends.
set -euo pipefail
ctl=$(cd "$(dirname "$0")" && pwd)
pidfile=$ctl/app.pid
case $1 in
  start)
    patch=$2 port=$3
    rm -rf "$ctl/app.new"
    mkdir "$ctl/app.new"
    bash "$ctl/tar_files/$patch" "$ctl/app.new"
    bash "$0" stop
    rm -rf "$ctl/app"
    mv "$ctl/app.new" "$ctl/app"
    setsid python3 -m http.server "$port" --bind 127.0.0.1 --directory "$ctl/app" \
      </dev/null >>"$ctl/app.log" 2>&1 &
    echo $! >"$pidfile"
    echo "application $patch started on 127.0.0.1:$port (pid $!)"
    ;;
  stop)
    if [ -s "$pidfile" ]; then
      pid=$(cat "$pidfile")
      kill "$pid" 2>/dev/null && echo "application stopped (pid $pid)" || true
      while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
      rm -f "$pidfile"
    fi
    ;;
  *) echo "usage: app.sh start PATCH PORT | stop" >&2; exit 2 ;;
esac
