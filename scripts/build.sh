#!/usr/bin/env bash
# Configures and builds into BUILD_DIR (default: build). SANITIZE=1 adds AddressSanitizer and
# UndefinedBehaviorSanitizer; WERROR=1 makes every warning an error; CXX picks the compiler.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
build=${BUILD_DIR:-$root/build}
sanitize=OFF
[ "${SANITIZE:-0}" = 1 ] && sanitize=ON
werror=OFF
[ "${WERROR:-0}" = 1 ] && werror=ON
cmake -S "$root" -B "$build" -G Ninja -DDEPLOYER_SANITIZE=$sanitize -DDEPLOYER_WERROR=$werror \
  >/dev/null
cmake --build "$build" "$@"
