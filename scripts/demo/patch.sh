#!/usr/bin/env bash
# A demonstration patch (version @VERSION@): writes the application's page into the folder given.
set -euo pipefail
printf '<!doctype html><title>demo</title><p>demonstration application @VERSION@</p>\n' \
  >"$1/index.html"
