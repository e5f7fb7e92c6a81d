#!/usr/bin/env bash
# A real deploy in one command: builds the tool, builds the demonstration archives from
# scripts/demo/ (a runtime, a web server whose control scripts start a tiny application on
# 127.0.0.1, two patch versions), serves them on a free loopback port, makes the working folder
# run/demo (DEMO_DIR to choose another) pointing every address, folder and checksum there, and
# runs deploy, status, update, history, rollback and status, printing each command first.
# Everything stays inside the working folder; no root is needed. The file server is stopped on
# every way out, the application too unless the demonstration succeeded: then it keeps answering
# until "deployer -C run/demo delete --yes" removes it (as a next run of this script does).
#
# scripts/demo.sh --interface prepares the same site and folder, then opens the interface in
# run/demo instead, so that Deploy, Update and Delete chosen there run for real.
set -euo pipefail
interface=0
[ "${1:-}" = --interface ] && interface=1
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
work=${DEMO_DIR:-$root/run/demo}
sources=$root/scripts/demo
deployer=$build/deployer
first=24.2.0.1
second=24.2.0.2

if [ "${DEMO_SKIP_BUILD:-0}" != 1 ]; then
  BUILD_DIR=$build "$root/scripts/build.sh" --target deployer
fi

server_pid=
stop() {
  local status=$?
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  if [ "$status" != 0 ]; then
    for app in "$work"/web/web_*/ctl/app.sh; do
      [ ! -f "$app" ] || bash "$app" stop >/dev/null || true
    done
  fi
  exit "$status"
}
trap stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Ports nobody listens on now, each different.
free_ports() {
  python3 -c '
import socket, sys
held = [socket.socket() for _ in range(int(sys.argv[1]))]
for s in held:
    s.bind(("127.0.0.1", 0))
print(" ".join(str(s.getsockname()[1]) for s in held))' "$1"
}

run() {
  printf '\n$ %s\n' "$*"
  "$@"
}

# An application left running by an earlier demonstration is stopped before its folder goes.
for old in "$work"/web/web_*/ctl/app.sh; do
  [ ! -f "$old" ] || bash "$old" stop >/dev/null || true
done
rm -rf "$work"
site=$work/site
mkdir -p "$site/stage" "$site/served/patches" "$work/runtime" "$work/web"

# Each archive X.tar.gz holds one folder X/ (the web server's X is its name before "_d").
cp -r "$sources/runtime" "$site/stage/runtime-1.0"
cp -r "$sources/web" "$site/stage/vaq-web"
tar -C "$site/stage" -czf "$site/served/runtime-1.0.tar.gz" runtime-1.0
tar -C "$site/stage" -czf "$site/served/vaq-web_d2.tar.gz" vaq-web
for version in $first $second; do
  sed "s/@VERSION@/$version/g" "$sources/patch.sh" >"$site/served/patches/vaq-app-$version.sh"
done
digest() { sha256sum "$1" | cut -d' ' -f1; }

read -r site_port web_port debug_port app_port <<<"$(free_ports 4)"
python3 -m http.server "$site_port" --bind 127.0.0.1 --directory "$site/served" \
  </dev/null >"$site/server.log" 2>&1 &
server_pid=$!
url=http://127.0.0.1:$site_port
for _ in $(seq 50); do
  wget -q --spider "$url/runtime-1.0.tar.gz" 2>/dev/null && break
  sleep 0.1
done

run "$deployer" init -C "$work" --lang en
run "$deployer" -C "$work" set \
  Docker/Url "$url/runtime-1.0.tar.gz" Docker/Path "$work/runtime/" \
  Docker/Sha256 "$(digest "$site/served/runtime-1.0.tar.gz")" \
  WebServer/Url "$url/vaq-web_d2.tar.gz" WebServer/Path "$work/web/" \
  WebServer/Sha256 "$(digest "$site/served/vaq-web_d2.tar.gz")" \
  WebServer/Port "$web_port" WebServer/DebugPort "$debug_port" \
  Patch/Url "$url/patches" Patch/Version $first \
  Patch/Sha256 "$(digest "$site/served/patches/vaq-app-$first.sh")" \
  Install/Port "$app_port" Install/HealthUrl "http://127.0.0.1:$app_port/" \
  Install/HealthTimeout 20
if [ "$interface" = 1 ]; then
  (cd "$work" && "$deployer")
  exit
fi
run "$deployer" -C "$work" deploy
run "$deployer" -C "$work" status
run "$deployer" -C "$work" set Patch/Version $second \
  Patch/Sha256 "$(digest "$site/served/patches/vaq-app-$second.sh")"
run "$deployer" -C "$work" update
run "$deployer" -C "$work" history
run "$deployer" -C "$work" rollback
run "$deployer" -C "$work" status --json
run wget -q -O - "http://127.0.0.1:$app_port/"
printf '\nThe application answers on http://127.0.0.1:%s/; "%s -C %s delete --yes"\nstops and removes it.\n' \
  "$app_port" "$deployer" "$work"
