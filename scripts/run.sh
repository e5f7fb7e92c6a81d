#!/usr/bin/env bash
# Builds the tool and starts it in the working folder "run" (made from share/ when missing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" --target deployer
work=${DEPLOYER_WORKDIR:-$root/run}
if [ ! -d "$work" ]; then
  mkdir -p "$work"
  cp "$root/share/Settings.json" "$root/share/Resources.res" "$work/"
fi
cd "$work"
exec "${BUILD_DIR:-$root/build}/deployer"
