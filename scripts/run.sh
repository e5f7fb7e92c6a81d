#!/usr/bin/env bash
# Builds the tool and starts it in the working folder "run" (DEPLOYER_WORKDIR to choose another);
# a settings or resource file missing there is copied from share/ first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
BUILD_DIR=$build "$root/scripts/build.sh" --target deployer
work=${DEPLOYER_WORKDIR:-$root/run}
mkdir -p "$work"
for file in Settings.json Resources.res; do
  [ -e "$work/$file" ] || cp "$root/share/$file" "$work/"
done
cd "$work"
exec "$build/deployer"
