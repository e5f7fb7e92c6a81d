#!/usr/bin/env bash
# The demonstration's web server installer: makes the instance folder web_PORT/ctl beside its own
# folder, with the control scripts and an empty tar_files/ for the patches.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
port=
while [ $# -gt 0 ]; do
  case $1 in
    -p) port=$2; shift 2 ;;
    -ws | -cs | -pp | -l) shift 2 ;;
    *) echo "install.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ -n "$port" ] || { echo "install.sh: -p PORT is needed" >&2; exit 2; }
ctl=$(dirname "$here")/web_$port/ctl
mkdir -p "$ctl/tar_files"
cp "$here"/ctl/*.sh "$ctl/"
echo "demonstration web server installed in $ctl"
