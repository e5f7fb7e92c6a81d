#!/usr/bin/env bash
# Updates the application: fetches the patch -a from the address -s into tar_files/ and replaces
# the running application with it on -p PORT.
set -euo pipefail
source= patch= port=
while [ $# -gt 0 ]; do
  case $1 in
    -s) source=$2; shift 2 ;;
    -a) patch=$2; shift 2 ;;
    -p) port=$2; shift 2 ;;
    *) shift 2 ;;
  esac
done
ctl=$(cd "$(dirname "$0")" && pwd)
wget -q -O "$ctl/tar_files/$patch.part" "$source/$patch"
mv "$ctl/tar_files/$patch.part" "$ctl/tar_files/$patch"
exec bash "$ctl/app.sh" start "$patch" "$port"
