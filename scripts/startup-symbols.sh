#!/usr/bin/env bash
# Writes cmake/startup-symbols.txt: the functions of the program that run from its start until
# the main screen waits for a key, then on a Tab and on Escape. The linker places them side by
# side (cmake/CompactLink.cmake). Run it after changes to the start-up path, on a normal build:
#   scripts/startup-symbols.sh [build/deployer]
# Needs valgrind and tmux. Names that later disappear from the program are ignored when linking.
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/deployer}")
session=startup-symbols-$$
site=$(mktemp -d)
trap 'tmux kill-session -t "$session" 2>/dev/null || true; rm -rf "$site"' EXIT
cp share/Settings.json share/Resources.res "$site"

tmux new-session -d -s "$session" -x 100 -y 30 \
  "cd '$site' && valgrind --tool=callgrind --demangle=no --callgrind-out-file=calls '$program'"
shown() { tmux capture-pane -p -t "$session" 2>/dev/null | grep -q "$1"; }
for _ in $(seq 600); do shown 'Web application deployment' && break; sleep 0.1; done
shown 'Web application deployment' || { echo "the main screen did not appear" >&2; exit 1; }
tmux send-keys -t "$session" Tab
sleep 1
tmux send-keys -t "$session" Escape
for _ in $(seq 600); do tmux has-session -t "$session" 2>/dev/null || break; sleep 0.1; done

# Function names as callgrind records them, kept where the program defines them.
sed -nE 's/^c?fn=\([0-9]+\) (.*)$/\1/p' "$site/calls" | sort -u >"$site/ran"
nm "$program" | awk 'NF == 3 && $2 ~ /^[tTwW]$/ {print $3}' | sort -u >"$site/defined"
comm -12 "$site/ran" "$site/defined" >cmake/startup-symbols.txt
echo "cmake/startup-symbols.txt: $(wc -l <cmake/startup-symbols.txt) functions"
