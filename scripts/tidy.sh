#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) over every source file in src/, two at a time, with
# the compile database of BUILD_DIR (default: build-tidy, configured without tests or benchmarks
# when it is missing). Headers are checked only under src/. Prints the findings and fails when
# there is one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-tidy}
tidy=${CLANG_TIDY:-clang-tidy}
command -v "$tidy" >/dev/null || { echo "$tidy is missing: scripts/deps.sh --tidy" >&2; exit 1; }

if [ ! -f "$build/compile_commands.json" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DDEPLOYER_TESTS=OFF -DDEPLOYER_BENCH=OFF >/dev/null
fi

output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=0
find "$root/src" -name '*.cpp' -print0 | sort -z |
  xargs -0 -n 1 -P 2 "$tidy" -p "$build" --quiet --warnings-as-errors='*' \
    --header-filter="^$root/src/" >"$output" 2>/dev/null || status=$?
if [ "$status" -ne 0 ] || grep -q 'warning:\|error:' "$output"; then
  cat "$output"
  echo "clang-tidy: findings above" >&2
  exit 1
fi
echo "clang-tidy: no findings"
