#!/usr/bin/env bash
# Measures the program under the developers' pty benchmark tool beside its curses floor, in the
# same run: first frame, bytes of each of three Tabs, Escape to exit and peak memory, 100 x 30,
# 15 runs each; then the first-frame ratio program / floor, PASSES times. The ratio is taken with
# the two programs alternating, 3 runs per turn and CALLS turns each per pass, so that the
# machine's drift from one second to the next falls on both alike; the closing line is the median
# of the passes.
#   bench/ptybench.sh            (BUILD_DIR picks the build folder, default build; PTYBENCH the
#                                 folder of the tool; ROWS and COLS another terminal size;
#                                 PASSES, default 3, and CALLS, default 15, the ratio's passes)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${PTYBENCH:-$root/../shared/tools/ptybench}
build=${BUILD_DIR:-$root/build}
runs=${RUNS:-15}
rows=${ROWS:-30}
cols=${COLS:-100}
passes=${PASSES:-3}
calls=${CALLS:-15}
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

floor() {
  python3 "$tool/ptybench.py" --rows "$rows" --cols "$cols" --marker Apply-and-quit \
    --key tab --key tab --key tab --exit-key esc "$@" -- "$build/ptybench-floor" --loop
}
program() {
  python3 "$tool/ptybench.py" --rows "$rows" --cols "$cols" --marker 'Deployment tools team' \
    --key tab --key tab --key tab --exit-key esc "$@" -- "$build/deployer"
}

echo "== floor"
floor --runs "$runs"
echo "== deployer"
program --runs "$runs"

echo "== first frame, alternating"
for pass in $(seq "$passes"); do
  mkdir "pass$pass"
  for call in $(seq "$calls"); do
    floor --runs 3 --json "pass$pass/floor$call.json" >/dev/null
    program --runs 3 --json "pass$pass/program$call.json" >/dev/null
  done
done
python3 - "$passes" <<'EOF'
import glob, json, statistics, sys

def median_frame(pattern):
    frames = [run["frame_ms"] for name in glob.glob(pattern)
              for run in json.load(open(name))["results"]]
    return statistics.median(frames)

ratios = []
for number in range(1, int(sys.argv[1]) + 1):
    floor = median_frame(f"pass{number}/floor*.json")
    program = median_frame(f"pass{number}/program*.json")
    ratios.append(program / floor)
    print(f"pass {number}: floor {floor:.2f} ms, deployer {program:.2f} ms, "
          f"ratio {program / floor:.3f}")
print(f"ratio first frame deployer / floor: {statistics.median(ratios):.3f}")
EOF
