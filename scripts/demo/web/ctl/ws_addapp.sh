#!/usr/bin/env bash
# Registers the application: starts the patch given with -a (already in tar_files/) on -p PORT.
set -euo pipefail
patch= port=
while [ $# -gt 0 ]; do
  case $1 in
    -a) patch=$2; shift 2 ;;
    -p) port=$2; shift 2 ;;
    *) shift 2 ;;
  esac
done
exec bash "$(dirname "$0")/app.sh" start "$patch" "$port"
