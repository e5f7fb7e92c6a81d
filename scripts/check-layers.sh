#!/usr/bin/env bash
# Checks the includes between the folders of src/ against the layers the build links:
#   util (with app/Logger.h) < events < app (services) < ui, controllers < forms, preflight < cli
#   < main.cpp
# util, events and ui may use the services' Logger alone. Prints each include that reaches a layer
# its folder may not use, and fails when there is one. SRC overrides the folder checked.
# It also refuses <iostream> in src/: it makes the standard streams at every start (see Console).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
src=${SRC:-$root/src}

# The folders each folder may include besides itself; "app/Logger.h" is a single header.
allowed() {
  case "$1" in
    util) echo "app/Logger.h" ;;
    events) echo "util app/Logger.h" ;;
    app) echo "util events" ;;
    ui) echo "util events app/Logger.h" ;;
    controllers) echo "util events app" ;;
    forms) echo "util events app ui controllers" ;;
    preflight) echo "util events app controllers" ;;
    cli) echo "util events app ui controllers forms preflight" ;;
    .) echo "util events app ui controllers forms preflight cli" ;;
    *) echo "" ;;
  esac
}

permitted() {
  local folder=$1 header=$2 target=${2%%/*} entry
  [ "$target" = "$folder" ] && return 0
  for entry in $(allowed "$folder"); do
    [ "$entry" = "$target" ] || [ "$entry" = "$header" ] && return 0
  done
  return 1
}

failures=0
while IFS= read -r file; do
  relative=${file#"$src"/}
  folder=${relative%%/*}
  [ "$folder" = "$relative" ] && folder=.
  while IFS= read -r line; do
    number=${line%%:*}
    header=$(sed -E 's/^[^"]*"([^"]+)".*/\1/' <<<"$line")
    [[ $header == */* ]] || continue
    if ! permitted "$folder" "$header"; then
      echo "src/$relative:$number: includes $header, a layer that $folder/ may not use"
      failures=$((failures + 1))
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
done < <(find "$src" -name '*.h' -o -name '*.cpp' | sort)

while IFS= read -r line; do
  place=${line#"$src"/}
  echo "src/${place%%:#*}: includes <iostream>; print through cli/Console.h instead"
  failures=$((failures + 1))
done < <(grep -rn --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*<iostream>' "$src" || true)

if [ "$failures" -gt 0 ]; then
  echo "check-layers: $failures include(s) against the layers" >&2
  exit 1
fi
echo "check-layers: every include follows the layers"
