#!/usr/bin/env bash
# Removes the mark of the demonstration runtime; status 1 when it was not installed.
here=$(cd "$(dirname "$0")" && pwd)
[ -e "$here/installed" ] || exit 1
rm -f "$here/installed"
echo "demonstration runtime uninstalled"
