#!/usr/bin/env bash
# Measures the program under the developers' pty benchmark tool beside its curses floor, in the
# same run: first frame, bytes per Tab, Escape to exit and peak memory, 100 x 30, 15 runs.
#   bench/ptybench.sh            (BUILD_DIR picks the build folder, default build; PTYBENCH the
#                                 folder of the tool; ROWS and COLS another terminal size)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${PTYBENCH:-$root/../shared/tools/ptybench}
build=${BUILD_DIR:-$root/build}
runs=${RUNS:-15}
rows=${ROWS:-30}
cols=${COLS:-100}
if [ ! -f "$tool/ptybench.py" ]; then
  echo "the pty benchmark tool is not beside the checkout" >&2
  exit 1
fi
[ -x "$build/deployer" ] || cmake --build "$build" --target deployer
cc -O2 -o "$build/ptybench-floor" "$tool/floor.c" -lncursesw

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/share/Settings.json" "$root/share/Resources.res" "$work/"
cd "$work"

echo "== floor"
python3 "$tool/ptybench.py" --runs "$runs" --rows "$rows" --cols "$cols" --marker Apply-and-quit \
  --key tab --key tab --exit-key esc -- "$build/ptybench-floor" --loop
echo "== deployer"
python3 "$tool/ptybench.py" --runs "$runs" --rows "$rows" --cols "$cols" \
  --marker 'Deployment tools team' --key tab --key tab --exit-key esc -- "$build/deployer"
