#!/usr/bin/env bash
# Makes sure the build packages are present (Debian): installs the missing ones when run as
# root, otherwise names them and stops. With --fuzz it also wants clang and its libFuzzer runtime;
# with --tidy clang-tidy; with --package the tools that build and check the Debian package and
# its manual page.
set -euo pipefail

packages=(cmake ninja-build g++ lld-16 pkg-config libncurses-dev libssl-dev libgtest-dev libgmock-dev
          libbenchmark-dev wget tar python3 tmux openssl procps)
for option in "$@"; do
  case $option in
    --fuzz) packages+=(clang libclang-rt-dev) ;;
    --tidy) packages+=(clang-tidy) ;;
    --package) packages+=(dpkg-dev fakeroot file lintian mandoc groff-base man-db gzip) ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null </dev/null
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
