#!/usr/bin/env bash
# Builds every fuzz/*.cpp target with clang (AddressSanitizer + UndefinedBehaviorSanitizer) into
# FUZZ_BUILD_DIR (default: build-fuzz) and runs each for SECONDS (default 30). fuzz_json starts
# from the JSON test corpus next to the checkout; the others from a small seed folder made here.
# Fails when any fuzzer finds a crash, a leak, a hang or undefined behaviour.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
jobs=${JOBS:-2}
json_corpus=$root/../shared/testdata/jsontestsuite/test_parsing

"$root/scripts/deps.sh" --fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DDEPLOYER_FUZZ=ON \
  -DDEPLOYER_TESTS=OFF -DDEPLOYER_BENCH=OFF >/dev/null

targets=()
for source in "$root"/fuzz/*.cpp; do
  targets+=("$(basename "$source" .cpp)")
done
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

# Seeds for the targets without a corpus of their own: versions, resource lines, texts.
seeds=$build/seeds
rm -rf "$seeds" && mkdir -p "$seeds"
printf '1.24.2.1' >"$seeds/version"
printf '24.2' >"$seeds/short-version"
printf 'DEPLOY_SUCCESS=Done.\nKEY = Text with = sign\n# note\n' >"$seeds/resources"
printf 'a.b.c' >"$seeds/dotted"
printf '\x03\xd0\xb0\xd0\xb1ab,c\x00,' >"$seeds/two-byte"
printf '%s' '-12.5' >"$seeds/number"

failed=()
for name in "${targets[@]}"; do
  work=$build/corpus/$name
  mkdir -p "$work" "$build/artifacts"
  seed=$seeds
  [ "$name" = fuzz_json ] && [ -d "$json_corpus" ] && seed=$json_corpus
  echo "Fuzzing $name for $seconds s"
  if ! "$build/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$build/artifacts/$name-" "$work" "$seed" >"$build/$name.log" 2>&1; then
    tail -n 40 "$build/$name.log"
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzers that found a fault: ${failed[*]} (inputs in $build/artifacts)" >&2
  exit 1
fi
echo "No fault found by: ${targets[*]}"
