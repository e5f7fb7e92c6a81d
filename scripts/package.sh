#!/usr/bin/env bash
# Builds the Debian package deployer_<version>_<architecture>.deb into PACKAGE_BUILD_DIR (default:
# build-package): a release build for /usr without tests, stripped, its shared-library
# dependencies computed by dpkg-shlibdeps. Prints the path of the package.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PACKAGE_BUILD_DIR:-$root/build-package}
"$root/scripts/deps.sh" --package
# The hardening flags Debian builds with (read-only relocations, checked buffer functions).
flags="-O2 -D_FORTIFY_SOURCE=2 -fstack-protector-strong"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DDEPLOYER_TESTS=OFF -DDEPLOYER_BENCH=OFF -DDEPLOYER_SANITIZE=OFF -DDEPLOYER_COMPRESS_DOCS=ON \
  -DDEPLOYER_WERROR="$([ "${WERROR:-0}" = 1 ] && echo ON || echo OFF)" \
  -DCMAKE_CXX_FLAGS_RELEASE="$flags -DNDEBUG" \
  -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro -Wl,-z,now" >/dev/null
cmake --build "$build" --target deployer compressed_docs defaults
rm -f "$build"/deployer_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/deployer_*.deb
