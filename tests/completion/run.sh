#!/usr/bin/env bash
# Sources the bash completion file and checks what it offers against the program itself:
#   tests/completion/run.sh PROGRAM COMPLETION_FILE
set -uo pipefail
program=$1
# shellcheck source=/dev/null
source "$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# What completing the line offers, sorted, on one line.
offers() {
  read -r -a COMP_WORDS <<<"$1"
  [[ $1 == *' ' ]] && COMP_WORDS+=('')
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _deployer
  printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' '
}

expect() {
  local got
  got=$(offers "$1")
  if [ "$got" != "$2" ]; then
    echo "FAIL: '$1' offers '$got', expected '$2'"
    failures=$((failures + 1))
  fi
}

"$program" init -C "$work/app" --lang en >/dev/null
cat >"$work/app/releases.json" <<'JSON'
{
	"deployed": {"version": "24.2.0.2", "url": "u", "template": "t-*", "sha256": ""},
	"releases": [
		{"version": "24.2.0.2", "url": "u", "template": "t-*", "sha256": ""},
		{"version": "24.2.0.1", "url": "u", "template": "t-*", "sha256": ""}
	]
}
JSON

expect 'deployer de' 'delete deploy'
expect 'deployer --he' '--help'
expect 'deployer -C /x --w' '--wait'
expect 'deployer deploy --no-r' '--no-runtime'
expect 'deployer update --no-r' '--no-rollback'
expect 'deployer check ' 'delete deploy rollback update'
expect 'deployer get Patch/V' 'Patch/Version'
expect 'deployer set Patch/Version ' ''
expect 'deployer set Patch/Version -1 Install/P' 'Install/Port'
expect "deployer -C $work/app rollback " '24.2.0.1 24.2.0.2'
expect "deployer -C$work/app rollback 24.2.0.1 " ''
expect "deployer rollback " ''

# Every setting the program shows, and no other.
shown=$("$program" -C "$work/app" show | cut -d= -f1 | sort | paste -sd' ')
expect 'deployer get ' "$shown"

# Every option offered is one the program takes after that command.
for command in deploy update delete migrate init check status history rollback; do
  for option in $(offers "deployer $command -"); do
    case $option in
      -n | --step-timeout | --wait) value=1 ;;
      --lang) value=en ;;
      -C | --directory) value=$work/app ;;
      *) value='' ;;
    esac
    "$program" "$command" $option $value --help >/dev/null 2>&1 ||
      { echo "FAIL: $command does not take $option"; failures=$((failures + 1)); }
  done
done

[ "$failures" -eq 0 ] && echo "bash completion: all passed"
exit "$((failures > 0))"
