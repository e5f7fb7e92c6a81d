#!/usr/bin/env bash
# Writes the key list of src/app/ResourceKeys.cpp anew from the keys of share/Resources.res, in
# byte order; run it after adding a text (tests/app/ResourceKeysTest.cpp checks that they agree).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
file=$root/src/app/ResourceKeys.cpp
keys=$(grep -o '^#[A-Z0-9_]*=' "$root/share/Resources.res" | tr -d '#=' | LC_ALL=C sort -u |
  sed 's/.*/    "&",/')
{
  sed '/^const char\* const KEYS\[\] = {$/q' "$file"
  printf '%s\n' "$keys"
  sed -n '/^};$/,$p' "$file"
} >"$file.new"
mv "$file.new" "$file"
