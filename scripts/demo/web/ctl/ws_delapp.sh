#!/usr/bin/env bash
# Unregisters the application: stops it.
set -euo pipefail
exec bash "$(dirname "$0")/app.sh" stop
