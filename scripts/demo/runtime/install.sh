#!/usr/bin/env bash
# The demonstration's container runtime: it only records that it is installed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
date -u +%FT%TZ >"$here/installed"
echo "demonstration runtime installed in $here"
